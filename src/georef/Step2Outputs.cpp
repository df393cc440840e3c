#include "Step2Outputs.h"

#include "GeoTiffOutputs.h"
#include "GstFile.h"
#include "KmlOverlay.h"
#include "TabFile.h"
#include "TableError.h"
#include "model/NumberText.h"

namespace kartovex {
namespace {

std::string fileNameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

}  // namespace

NamedPicture namePicture(const std::string& path, const std::string& folderPrefix,
                         const std::string& fileName, const std::string& bareName,
                         const CodePage936& codePage) {
    NamedPicture picture{path, fileName, bareName, {}, {}};
    picture.out = outputNames(path, folderPrefix, fileName, bareName);
    picture.names = namesInFiles(fileName, bareName, codePage);
    return picture;
}

void writeOutputs(const NamedPicture& picture, const Module1& extents, const CornerTexts& corners,
                  const GroundGrid& grid, const OutputWriters& writers, Step2Report& report) {
    const OutputNames& out = picture.out;
    attempt("The table could not be written: " + shown(out.tab), [&] {
        writers.saver.save(out.tab, tabFileBytes(picture.names.fileName, corners,
                                                 extents.strPicMaxX, extents.strPicMaxY));
    });
    report.written.push_back(out.tab);
    attempt("The geoset could not be written: " + shown(out.gst), [&] {
        writers.saver.save(out.gst, gstFileBytes(picture.names.bareName, corners.strCenterLong,
                                                 corners.strCenterLat));
    });
    report.written.push_back(out.gst);

    const double width = value(extents.strPicMaxX) + 1;
    const double height = value(extents.strPicMaxY) + 1;
    const OutputServices services{writers.saver, writers.record, writers.codePage, writers.geoTiff};
    double preciseErrorPixels = -1;
    if (writers.writeGeoTiff)
        preciseErrorPixels = writeOutputsBeyondTable(
            services, out, kmlOverlayBytes(picture.fileName, picture.bareName, corners),
            {picture.path, out.tif, controlPoints(grid, width, height), {}}, report);
    else
        removeOlderOutputs(services, out, report);
    report.remark = tableErrorSentence(
        fileNameOf(out.tab),
        tableErrorPixels(grid, width, height, value(extents.strPicMaxX), value(extents.strPicMaxY)),
        fileNameOf(out.wgs84Tab), preciseErrorPixels);
}

}  // namespace kartovex
