#include "Step2Outputs.h"

#include "GeoTiffOutputs.h"
#include "GstFile.h"
#include "KmlOverlay.h"
#include "TabFile.h"
#include "model/NumberText.h"

namespace kartovex {

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

    if (writers.geoTiff && writers.writeGeoTiff) {
        const double width = value(extents.strPicMaxX) + 1;
        const double height = value(extents.strPicMaxY) + 1;
        writeOverlayAndGeoTiff(writers.saver, *writers.geoTiff, out,
                               kmlOverlayBytes(picture.fileName, picture.bareName, corners),
                               {picture.path, out.tif, controlPoints(grid, width, height)}, report);
    } else {
        removeOlderOverlayAndGeoTiff(writers.saver, writers.geoTiff, out, report);
    }
}

}  // namespace kartovex
