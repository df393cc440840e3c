#pragma once

#include <chrono>
#include <memory>

#include "georef/GeoTiffWriter.h"

namespace kartovex {

// Runs another writer on a worker thread, so that the window's thread keeps painting
// through a long warp. A warp still running after `showAfter` gets a progress dialog
// titled "Kartovex" with Cancel, which blocks input to every other window until the warp
// ends; before that, input waits. Cancel makes the inner writer's progress answer false.
class ProgressGeoTiffWriter : public GeoTiffWriter {
public:
    explicit ProgressGeoTiffWriter(std::unique_ptr<GeoTiffWriter> inner,
                                   std::chrono::milliseconds showAfter = kShowAfter);

    GeoTiffOutcome write(const GeoTiffJob& job, const Progress& progress) override;

    static constexpr std::chrono::milliseconds kShowAfter{700};

private:
    std::unique_ptr<GeoTiffWriter> inner_;
    std::chrono::milliseconds showAfter_;
};

}  // namespace kartovex
