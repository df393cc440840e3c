// Step 2 from the picked path to both files written, for a 1-megapixel and a
// 200-megapixel JPEG. The probe reads the header only, so both take the same time and
// memory. Each file is synced to disk before it replaces the old one, so in a folder on
// a disk the time is mostly the disk's; TMPDIR=/dev/shm shows Step 2's own. Run each
// size in a process of its own to compare peak memory:
//   TMPDIR=/dev/shm /usr/bin/time -v bench/step2_benchmark --benchmark_filter=Step2/1MP
//   TMPDIR=/dev/shm /usr/bin/time -v bench/step2_benchmark --benchmark_filter=Step2/200MP
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <string>

#include "georef/Step2Command.h"
#include "georef/posix/IconvCodePage936.h"
#include "georef/qt/QtFileSaver.h"
#include "ui/Form3.h"
#include "ui/Form3Probe.h"

namespace kartovex {
namespace {

QByteArray jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QLinearGradient(0, 0, width, height));
    painter.drawEllipse(image.rect().adjusted(10, 10, -10, -10));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// A real small JPEG whose frame header says 20000 × 10000: what a reader of the header
// sees is exactly a 200-megapixel picture.
QByteArray jpegClaiming200Megapixels() {
    QByteArray bytes = jpeg(64, 32);
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    const int width = 20000, height = 10000;
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xFF);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xFF);
    return bytes;
}

class Picked : public FileChooser {
public:
    explicit Picked(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> showOpen(const CommonDialog&) override { return path_; }

private:
    std::string path_;
};

class NoMessageExpected : public MessageBoxService, public NoticeService, public OutputRecord {
public:
    std::string shown;
    void notice(const std::string&, const std::string&) override {}
    void wrote(const std::string&) override {}
    bool wroteIt(const std::string&) override { return false; }
    void removed(const std::string&) override {}
    void information(const std::string& text, const std::string&) override { shown = text; }
    bool question(const std::string&, const std::string&) override { return false; }
};

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Step2(benchmark::State& state, const QByteArray& picture) {
    QTemporaryDir folder;
    const QString path = folder.filePath("area.jpg");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(picture);
    file.close();

    MainWindowModel form;
    form.setCaption("Label7", "YES");
    form.corners = {"112.512486613752", "34.7062194833612", "112.640164171643", "34.7063844251127",
                    "112.640027935754", "34.6355517952278", "112.512641108072", "34.6353880649386",
                    "112.576329957",    "34.670885942"};
    Module1 module;
    Picked chooser(path.toStdString());
    Form3Probe probe;
    QtFileSaver saver;
    IconvCodePage936 codePage;
    NoMessageExpected messages;
    Step2Command step2(
        form, module,
        {chooser, probe, saver, codePage, messages, messages, messages, nullptr, false});

    const long peakBefore = peakKilobytes();
    for (auto _ : state) {
        step2.run();
        state.PauseTiming();
        // Without an event loop Timer1 never closes the probe windows.
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<Form3*>(window)) delete window;
        state.ResumeTiming();
    }
    if (!messages.shown.empty()) state.SkipWithError(messages.shown.c_str());
    state.counters["picture_MB"] = picture.size() / 1e6;
    state.counters["megapixels"] =
        (std::stod(module.strPicMaxX) + 1) * (std::stod(module.strPicMaxY) + 1) / 1e6;
    state.counters["peak_growth_kB"] = static_cast<double>(peakKilobytes() - peakBefore);
}

}  // namespace
}  // namespace kartovex

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QByteArray oneMegapixel = kartovex::jpeg(1000, 1000);
    const QByteArray twoHundredMegapixels = kartovex::jpegClaiming200Megapixels();
    benchmark::RegisterBenchmark("Step2/1MP", kartovex::Step2, oneMegapixel)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Step2/200MP", kartovex::Step2, twoHundredMegapixels)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
