// How well the written files register the picture, measured against the simulator's own
// ground: for level views across range and latitude, Step 1 reads the view, the simulator
// saves its picture, Step 2 runs with a stand-in user who picks it, and GDAL reads the
// table and the GeoTIFF back. The ground under 11 x 11 pixel centres is compared with where each
// file puts those pixels: the table through the plane GDAL fits to its four control points, the
// GeoTIFF through bright marks painted on the picture at those pixels and found again in
// the warped raster. Prints one table of worst and mean errors in pixels and metres.
//
// A second table does the same for mosaics: the levelled view planned at detail 2, each
// view taken from the simulator with marks painted on it, the mosaic written, and every
// mark that shows found again. Seams: for the ground under each mark in a neighbour's inner
// part, the neighbour's pixel of that ground is solved from the simulator itself, and the
// two views' fits are compared there, in mosaic pixels.
//
//   georef_accuracy [FOLDER]   keeps the pictures and files in FOLDER when given

#include <gdal.h>
#include <gdal_alg.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/AreaCapture.h"
#include "capture/AreaPlan.h"
#include "capture/Step1Command.h"
#include "capture/sim/SimulatorGoogleEarth.h"
#include "georef/GeoTiffOutputs.h"
#include "georef/Step2Command.h"
#include "georef/gdal/GdalGeoTiff.h"
#include "georef/gdal/GdalMosaic.h"
#include "georef/posix/IconvCodePage936.h"
#include "georef/qt/QtFileSaver.h"
#include "model/MainWindowModel.h"
#include "model/RuntimeError.h"

namespace {

using kartovex::GroundGrid;

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kMarks = 11;
// Marks stay this far inside the picture, so that none is cut by its edge.
constexpr int kInset = 7;
constexpr double kMarkSigma = 1.5;
constexpr int kMarkRadius = 6;
constexpr double kDegree = M_PI / 180;

// The user of Step 2: picks the saved picture, measures it as the probe window would, and
// keeps any message, which would mean that Step 2 failed.
class User : public kartovex::FileChooser,
             public kartovex::PictureProbe,
             public kartovex::MessageBoxService,
             public kartovex::NoticeService {
public:
    std::string picture;
    int width = 0, height = 0;
    std::string said;

    std::optional<std::string> showOpen(const kartovex::CommonDialog&) override { return picture; }
    void show(const std::string&, kartovex::Module1& module) override {
        module = {std::to_string(width - 1), std::to_string(height - 1)};
    }
    void information(const std::string& text, const std::string&) override { said = text; }
    bool question(const std::string& text, const std::string&) override {
        said = text;
        return false;
    }
    void notice(const std::string&, const std::string&) override {}
};

struct DatasetCloser {
    void operator()(void* dataset) const {
        if (dataset) GDALClose(dataset);
    }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

struct LonLat {
    double lon = 0, lat = 0;
};

// Metres between two nearby places on the WGS 84 ellipsoid.
double metresBetween(LonLat a, LonLat b) {
    constexpr double radius = 6378137.0, e2 = 0.00669437999014;
    const double phi = (a.lat + b.lat) / 2 * kDegree;
    const double w = 1 - e2 * std::sin(phi) * std::sin(phi);
    const double meridian = radius * (1 - e2) / std::pow(w, 1.5), normal = radius / std::sqrt(w);
    return std::hypot((a.lat - b.lat) * kDegree * meridian,
                      (a.lon - b.lon) * kDegree * normal * std::cos(phi));
}

// Worst and mean of one file's errors over a view.
struct Errors {
    double worstPx = 0, sumPx = 0, worstM = 0, sumM = 0;
    int count = 0;
    void add(double px, double m) {
        worstPx = std::max(worstPx, px), worstM = std::max(worstM, m);
        sumPx += px, sumM += m, ++count;
    }
};

class Simulator {
public:
    Simulator()
        : name_(QStringLiteral("kartovex-accuracy-%1").arg(QCoreApplication::applicationPid())) {
        process_.start(QStringLiteral(EARTHSIM_PATH), {QStringLiteral("--server-name"), name_});
        for (int attempt = 0; attempt < 200 && !serving_; ++attempt) {
            QLocalSocket probe;
            probe.connectToServer(name_);
            serving_ = probe.waitForConnected(100);
            if (!serving_) QThread::msleep(50);
        }
    }
    ~Simulator() {
        process_.kill();
        process_.waitForFinished();
    }
    bool serving() const { return serving_; }
    const QString& name() const { return name_; }

    bool saveScreenShot(const QString& path) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (!socket.waitForConnected(3000)) return false;
        const QJsonObject request{{"op", "SaveScreenShot"}, {"fileName", path}, {"quality", 95}};
        socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        while (!socket.canReadLine())
            if (!socket.waitForReadyRead(10000)) return false;
        return !QJsonDocument::fromJson(socket.readLine())
                    .object()
                    .contains(QStringLiteral("error"));
    }

private:
    QProcess process_;
    QString name_;
    bool serving_ = false;
};

int markAt(int k, int size) {
    return kInset + static_cast<int>(std::lround(k * (size - 1 - 2.0 * kInset) / (kMarks - 1)));
}

// Bright round marks on dark discs at the measured pixels, so that each can be found again
// in the warped raster by its centre of brightness.
void paintMarks(QImage& picture) {
    for (int row = 0; row < kMarks; ++row)
        for (int column = 0; column < kMarks; ++column) {
            const int cx = markAt(column, picture.width()), cy = markAt(row, picture.height());
            for (int dy = -kInset; dy <= kInset; ++dy)
                for (int dx = -kInset; dx <= kInset; ++dx) {
                    const double d2 = dx * dx + dy * dy;
                    if (d2 > kInset * kInset) continue;
                    const int v =
                        static_cast<int>(255 * std::exp(-d2 / (2 * kMarkSigma * kMarkSigma)));
                    picture.setPixel(cx + dx, cy + dy, qRgb(v, v, v));
                }
        }
}

LonLat truth(kartovex::ApplicationGE& app, double pixel, double line, int width, int height) {
    const auto p =
        app.GetPointOnTerrainFromScreenCoords(-1 + 2 * pixel / width, 1 - 2 * line / height);
    return {p.longitude, p.latitude};
}

// Where GDAL places the table's picture: the plane through its four control points, or
// the affine transform GDAL makes of them when they fit one exactly.
std::vector<LonLat> tablePlaces(const std::string& picture,
                                const std::vector<std::pair<double, double>>& pixels) {
    Dataset jpg(GDALOpen(picture.c_str(), GA_ReadOnly));
    std::vector<LonLat> places;
    double t[6];
    if (jpg && GDALGetGCPCount(jpg.get()) >= 3) {
        void* plane =
            GDALCreateGCPTransformer(GDALGetGCPCount(jpg.get()), GDALGetGCPs(jpg.get()), 1, FALSE);
        for (auto [x, y] : pixels) {
            double z = 0;
            int ok = 0;
            GDALGCPTransform(plane, FALSE, 1, &x, &y, &z, &ok);
            places.push_back({x, y});
        }
        GDALDestroyGCPTransformer(plane);
    } else if (jpg && GDALGetGeoTransform(jpg.get(), t) == CE_None) {
        for (const auto& [x, y] : pixels)
            places.push_back({t[0] + x * t[1] + y * t[2], t[3] + x * t[4] + y * t[5]});
    }
    return places;
}

// Where the GeoTIFF shows the mark that belongs at `expected`: its centre of brightness
// near there, in longitude and latitude through the file's own transform.
LonLat markInGeoTiff(GDALDatasetH tif, const double* t, LonLat expected) {
    const double fx = (expected.lon - t[0]) / t[1], fy = (expected.lat - t[3]) / t[5];
    const int size = 2 * kMarkRadius + 1;
    const int left = static_cast<int>(std::floor(fx)) - kMarkRadius,
              top = static_cast<int>(std::floor(fy)) - kMarkRadius;
    std::vector<GByte> window(size * size, 0);
    if (GDALRasterIO(GDALGetRasterBand(tif, 1), GF_Read, left, top, size, size, window.data(), size,
                     size, GDT_Byte, 0, 0) != CE_None)
        return {NAN, NAN};
    double sum = 0, sx = 0, sy = 0;
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const double x = left + i + 0.5, y = top + j + 0.5;
            if (std::hypot(x - fx, y - fy) > kMarkRadius) continue;
            const double w = std::max(0, window[j * size + i] - 24);
            sum += w, sx += w * x, sy += w * y;
        }
    if (sum <= 0) return {NAN, NAN};
    return {t[0] + sx / sum * t[1], t[3] + sy / sum * t[5]};
}

// Where a fit of the grid's control points alone puts the pixels, without the warp: a
// polynomial of the given order, or with order 0 a thin-plate spline. It shows why the
// GeoTIFF's transform is the one it is.
std::vector<LonLat> fitted(const std::vector<kartovex::ControlPoint>& points, int order,
                           const std::vector<std::pair<double, double>>& pixels) {
    std::vector<GDAL_GCP> gcps(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        gcps[i] = {const_cast<char*>(""),
                   const_cast<char*>(""),
                   points[i].pixel,
                   points[i].line,
                   points[i].longitude,
                   points[i].latitude,
                   0};
    const int n = static_cast<int>(gcps.size());
    void* fit = order > 0 ? GDALCreateGCPTransformer(n, gcps.data(), order, FALSE)
                          : GDALCreateTPSTransformer(n, gcps.data(), FALSE);
    std::vector<LonLat> places;
    for (auto [x, y] : pixels) {
        double z = 0;
        int ok = 0;
        if (fit) (order > 0 ? GDALGCPTransform : GDALTPSTransform)(fit, FALSE, 1, &x, &y, &z, &ok);
        places.push_back(ok ? LonLat{x, y} : LonLat{NAN, NAN});
    }
    if (fit) (order > 0 ? GDALDestroyGCPTransformer : GDALDestroyTPSTransformer)(fit);
    return places;
}

// The simulator flown level over 112.58 E at `latitude` from `range` metres, and Step 1
// pressed on that view as a user would (past its first-press box).
struct LevelView {
    User user;
    kartovex::SimulatorGoogleEarth earth;
    std::unique_ptr<kartovex::ApplicationGE> app;
    kartovex::MainWindowModel form;

    LevelView(Simulator& simulator, double range, double latitude)
        : earth(user, simulator.name()), app(earth.connect()) {
        app->SetCameraParams(latitude, 112.58, 0, 1, range, 0, 0, 5.0);
        form.step1Clicks = 2;
        kartovex::NoLog log;
        kartovex::runStep1(form, earth, log);
    }
};

constexpr int kFits[] = {2, 3, 0};

struct Row {
    double rangeKm, latitude;
    Errors table, geotiff, fits[std::size(kFits)];
    std::string failure;
};

Row measure(Simulator& simulator, kartovex::GdalGeoTiff& writer, const std::string& folder,
            double range, double latitude) {
    Row row{range / 1000, latitude, {}, {}, {}, {}};
    LevelView view(simulator, range, latitude);
    User& user = view.user;
    kartovex::MainWindowModel& form = view.form;
    const std::unique_ptr<kartovex::ApplicationGE>& app = view.app;
    const GroundGrid& grid = form.grid;
    if (grid.points.size() != GroundGrid::kPointsPerSide * GroundGrid::kPointsPerSide)
        return row.failure = "Step 1 read no grid", row;

    const std::string bare = folder + "/view-" + std::to_string(static_cast<int>(range / 1000)) +
                             "km-" + std::to_string(static_cast<int>(latitude));
    const QString jpgPath = QString::fromStdString(bare + ".jpg");
    QImage picture;
    if (!simulator.saveScreenShot(jpgPath) || !picture.load(jpgPath))
        return row.failure = "no picture saved", row;
    const int width = picture.width(), height = picture.height();
    if (width != grid.viewWidth || height != grid.viewHeight)
        return row.failure = "the picture is not the view's size", row;
    picture = picture.convertToFormat(QImage::Format_RGB32);
    paintMarks(picture);
    picture.save(jpgPath, "JPG", 95);

    user.picture = bare + ".jpg", user.width = width, user.height = height;
    kartovex::Module1 module;
    kartovex::QtFileSaver saver;
    kartovex::IconvCodePage936 codePage;
    kartovex::FileOutputRecord record(folder + "/outputs.txt", saver);
    kartovex::Step2Command(form, module,
                           {user, user, saver, codePage, user, user, record, &writer, true})
        .run();
    if (!user.said.empty()) return row.failure = user.said, row;

    // The control points as Step 2 gives them to the GeoTIFF.
    kartovex::GeoTiffJob job{bare + ".jpg", bare + "_wgs84.tif", {}, {}};
    for (const auto& p : grid.points)
        job.points.push_back(
            {(p.x + 1) / 2 * width, (1 - p.y) / 2 * height, p.longitude, p.latitude});

    std::vector<std::pair<double, double>> centres;
    for (int r = 0; r < kMarks; ++r)
        for (int c = 0; c < kMarks; ++c)
            centres.emplace_back(markAt(c, width) + 0.5, markAt(r, height) + 0.5);
    const std::vector<LonLat> table = tablePlaces(job.picturePath, centres);
    std::vector<std::vector<LonLat>> fits;
    for (const int order : kFits) fits.push_back(fitted(job.points, order, centres));
    Dataset tif(GDALOpen(job.tifPath.c_str(), GA_ReadOnly));
    double t[6];
    if (table.size() != centres.size() || !tif || GDALGetGeoTransform(tif.get(), t) != CE_None)
        return row.failure = "GDAL could not read the files", row;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const auto [x, y] = centres[i];
        const LonLat ground = truth(*app, x, y, width, height);
        const double pixelMetres =
            std::sqrt(metresBetween(ground, truth(*app, x + 1, y, width, height)) *
                      metresBetween(ground, truth(*app, x, y + 1, width, height)));
        const double tableMetres = metresBetween(ground, table[i]);
        row.table.add(tableMetres / pixelMetres, tableMetres);
        const LonLat mark = markInGeoTiff(tif.get(), t, ground);
        const double markMetres = std::isnan(mark.lon) ? INFINITY : metresBetween(ground, mark);
        row.geotiff.add(markMetres / pixelMetres, markMetres);
        for (std::size_t f = 0; f < fits.size(); ++f) {
            const double fitMetres = metresBetween(ground, fits[f][i]);
            row.fits[f].add(fitMetres / pixelMetres, fitMetres);
        }
    }
    return row;
}

constexpr int kMosaicDetail = 2;
constexpr int kMargin = kartovex::AreaPlan::kDefaultMarginPixels;

// One view of a mosaic: its grid, its control points, and the ground under its marks.
struct MosaicPart {
    kartovex::PlannedView at;
    GroundGrid grid;
    std::vector<kartovex::ControlPoint> points;
    std::vector<std::pair<double, double>> marks;
    std::vector<LonLat> ground;
};

struct MosaicRow {
    double rangeKm, latitude;
    std::size_t views = 0;
    Errors marks, seams;
    std::string failure;
};

void flyTo(kartovex::ApplicationGE& app, const kartovex::PlannedView& v, double range) {
    app.SetCameraParams(v.latitude, v.longitude, 0, 1, range, 0, 0, 5.0);
    for (int i = 0; i < 100; ++i) {
        const auto c = app.GetCamera(false);
        if (std::fabs(c.focusPointLatitude - v.latitude) < 1e-9 &&
            std::fabs(c.focusPointLongitude - v.longitude) < 1e-9)
            return;
        QThread::msleep(20);
    }
}

// The pixel of view `part` (its camera on screen now) that shows `g`, by Newton's method
// on the simulator's own ground, starting at the view's centre.
std::optional<std::pair<double, double>> pixelOf(kartovex::ApplicationGE& app,
                                                 const MosaicPart& part, LonLat g) {
    double x = part.points[12].pixel, y = part.points[12].line;
    for (int step = 0; step < 30; ++step) {
        const LonLat at = truth(app, x, y, kScreenWidth, kScreenHeight);
        const LonLat dx = truth(app, x + 1, y, kScreenWidth, kScreenHeight);
        const LonLat dy = truth(app, x, y + 1, kScreenWidth, kScreenHeight);
        const double a = dx.lon - at.lon, b = dy.lon - at.lon, c = dx.lat - at.lat,
                     d = dy.lat - at.lat, det = a * d - b * c;
        const double el = g.lon - at.lon, ea = g.lat - at.lat;
        const double mx = (d * el - b * ea) / det, my = (a * ea - c * el) / det;
        x += mx, y += my;
        if (std::hypot(mx, my) < 1e-4) break;
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return std::pair{x, y};
}

// Whether a picture position lies in a view's inner part, grown by `grow` pixels.
bool inInner(std::pair<double, double> p, double grow) {
    return p.first > kMargin - grow && p.second > kMargin - grow &&
           p.first < kScreenWidth - kMargin + grow && p.second < kScreenHeight - kMargin + grow;
}

MosaicRow measureMosaic(Simulator& simulator, const std::string& folder, double range,
                        double latitude) {
    MosaicRow row{range / 1000, latitude, 0, {}, {}, {}};
    LevelView view(simulator, range, latitude);
    const kartovex::MainWindowModel& form = view.form;
    const std::unique_ptr<kartovex::ApplicationGE>& app = view.app;
    if (form.grid.points.empty()) return row.failure = "Step 1 read no grid", row;
    const kartovex::AreaPlan plan =
        kartovex::planArea(form.grid, app->GetCamera(false), kMosaicDetail, kMargin);
    row.views = plan.views.size();

    std::vector<MosaicPart> parts;
    kartovex::MosaicJob job;
    job.marginPixels = kMargin;
    const std::string bare = folder + "/mosaic-" + std::to_string(static_cast<int>(range / 1000)) +
                             "km-" + std::to_string(static_cast<int>(latitude));
    job.tifPath = bare + ".tif";
    for (const kartovex::PlannedView& v : plan.views) {
        flyTo(*app, v, plan.range);
        MosaicPart part{v, kartovex::readGroundGrid(*app, kScreenWidth, kScreenHeight), {}, {}, {}};
        part.points = kartovex::controlPoints(part.grid, kScreenWidth, kScreenHeight);
        const std::string jpg = bare + "-" + std::to_string(parts.size() + 1) + ".jpg";
        QImage picture;
        if (!simulator.saveScreenShot(QString::fromStdString(jpg)) ||
            !picture.load(QString::fromStdString(jpg)))
            return row.failure = "no picture saved", row;
        picture = picture.convertToFormat(QImage::Format_RGB32);
        paintMarks(picture);
        picture.save(QString::fromStdString(jpg), "JPG", 95);
        for (int r = 0; r < kMarks; ++r)
            for (int c = 0; c < kMarks; ++c) {
                const double x = markAt(c, kScreenWidth) + 0.5, y = markAt(r, kScreenHeight) + 0.5;
                if (x < kMargin + kInset || y < kMargin + kInset ||
                    x > kScreenWidth - kMargin - kInset || y > kScreenHeight - kMargin - kInset)
                    continue;
                part.marks.emplace_back(x, y);
                part.ground.push_back(truth(*app, x, y, kScreenWidth, kScreenHeight));
            }
        job.views.push_back({jpg, part.points});
        parts.push_back(std::move(part));
    }
    kartovex::GdalMosaic writer;
    try {
        writer.write(job, nullptr);
    } catch (const kartovex::RuntimeError& e) {
        return row.failure = e.description(), row;
    }
    Dataset tif(GDALOpen(job.tifPath.c_str(), GA_ReadOnly));
    double t[6];
    if (!tif || GDALGetGeoTransform(tif.get(), t) != CE_None)
        return row.failure = "GDAL could not read the mosaic", row;
    // The mosaic's pixels are steps of longitude and latitude.
    const auto mosaicPixels = [&](LonLat a, LonLat b) {
        return std::hypot((a.lon - b.lon) / t[1], (a.lat - b.lat) / t[5]);
    };

    // Seams first, view by view: each view's camera on screen again, every other view's
    // marks that fall in its inner part solved for its own pixel.
    std::vector<std::vector<bool>> hidden;
    for (const MosaicPart& part : parts) hidden.emplace_back(part.marks.size());
    for (std::size_t j = 0; j < parts.size(); ++j) {
        flyTo(*app, parts[j].at, plan.range);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i == j) continue;
            const auto fitI = fitted(parts[i].points, 3, parts[i].marks);
            for (std::size_t k = 0; k < parts[i].marks.size(); ++k) {
                const auto pixel = pixelOf(*app, parts[j], parts[i].ground[k]);
                if (!pixel) continue;
                // A later view is drawn over the mark, or over part of it.
                if (j > i && inInner(*pixel, kInset + 2)) hidden[i][k] = true;
                if (!inInner(*pixel, 0)) continue;
                const LonLat byJ = fitted(parts[j].points, 3, {*pixel}).front();
                row.seams.add(mosaicPixels(fitI[k], byJ), metresBetween(fitI[k], byJ));
            }
        }
    }
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t k = 0; k < parts[i].marks.size(); ++k) {
            if (hidden[i][k]) continue;
            const LonLat g = parts[i].ground[k];
            const LonLat mark = markInGeoTiff(tif.get(), t, g);
            const double px = std::isnan(mark.lon) ? INFINITY : mosaicPixels(g, mark);
            row.marks.add(px, std::isnan(mark.lon) ? INFINITY : metresBetween(g, mark));
        }
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    // One full-screen view of a known size for the simulator and for Step 1's check of it,
    // whatever screen this machine has.
    const QString screens = folder + QStringLiteral("/screen.json");
    std::ofstream(screens.toStdString())
        << R"({"screens":[{"name":"accuracy","x":0,"y":0,"width":)" << kScreenWidth
        << R"(,"height":)" << kScreenHeight << R"(,"logicalDpi":96,"dpr":1}]})";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit());
    QGuiApplication application(argc, argv);
    Simulator simulator;
    if (!simulator.serving()) {
        std::fprintf(stderr, "The simulator did not start: %s\n", EARTHSIM_PATH);
        return 1;
    }
    kartovex::GdalGeoTiff writer;
    std::printf("%d x %d view, %d x %d pixel centres; errors in px / m\n", kScreenWidth,
                kScreenHeight, kMarks, kMarks);
    std::printf("%9s %5s | %-29s | %-29s | %s\n", "range", "lat", "table (4-point plane)",
                "GeoTIFF", "fit alone, worst px");
    std::printf("%9s %5s | %6s %6s %7s %7s | %6s %6s %7s %7s | %6s %6s %6s\n", "", "", "worst",
                "mean", "worst", "mean", "worst", "mean", "worst", "mean", "order2", "order3",
                "spline");
    for (const double range : {1e3, 20e3, 100e3, 500e3})
        for (const double latitude : {0.0, 35.0, 60.0, 75.0}) {
            const Row r = measure(simulator, writer, folder.toStdString(), range, latitude);
            if (!r.failure.empty()) {
                std::printf("%6.0f km %4.0f° | %s\n", r.rangeKm, r.latitude, r.failure.c_str());
                continue;
            }
            std::printf(
                "%6.0f km %4.0f° | %6.2f %6.2f %7.2f %7.2f | %6.3f %6.3f %7.3f %7.3f | %6.3f "
                "%6.3f %6.3f\n",
                r.rangeKm, r.latitude, r.table.worstPx, r.table.sumPx / r.table.count,
                r.table.worstM, r.table.sumM / r.table.count, r.geotiff.worstPx,
                r.geotiff.sumPx / r.geotiff.count, r.geotiff.worstM,
                r.geotiff.sumM / r.geotiff.count, r.fits[0].worstPx, r.fits[1].worstPx,
                r.fits[2].worstPx);
            std::fflush(stdout);
        }

    std::printf("\nMosaics at detail %d, %d px margin; errors in mosaic px / m\n", kMosaicDetail,
                kMargin);
    std::printf("%9s %5s %5s | %-29s | %s\n", "range", "lat", "views", "marks in the mosaic",
                "seams between views");
    std::printf("%9s %5s %5s | %6s %6s %7s %7s | %6s %6s %7s %6s\n", "", "", "", "worst", "mean",
                "worst", "mean", "worst", "mean", "worst", "points");
    for (const double range : {1e3, 20e3, 100e3})
        for (const double latitude : {0.0, 35.0, 60.0, 75.0}) {
            const MosaicRow r = measureMosaic(simulator, folder.toStdString(), range, latitude);
            if (!r.failure.empty()) {
                std::printf("%6.0f km %4.0f° | %s\n", r.rangeKm, r.latitude, r.failure.c_str());
                continue;
            }
            std::printf("%6.0f km %4.0f° %5zu | %6.3f %6.3f %7.2f %7.2f | %6.3f %6.3f %7.2f %6d\n",
                        r.rangeKm, r.latitude, r.views, r.marks.worstPx,
                        r.marks.sumPx / r.marks.count, r.marks.worstM, r.marks.sumM / r.marks.count,
                        r.seams.worstPx, r.seams.count ? r.seams.sumPx / r.seams.count : 0,
                        r.seams.worstM, r.seams.count);
            std::fflush(stdout);
        }
    return 0;
}
