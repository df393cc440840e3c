#include <cpl_error.h>
#include <gtest/gtest.h>

#include <thread>

#include "georef/gdal/GdalShared.h"

namespace kartovex {
namespace {

// GDAL's warp and compression threads have no handler of their own: their errors reach
// the capture alive, and only the first error of either thread is kept.
TEST(FirstError, KeepsTheFirstErrorOfAnyThreadWithoutTheRoutinesName) {
    gdal::FirstError errors;
    std::thread([] { CPLError(CE_Warning, CPLE_AppDefined, "only a warning"); }).join();
    EXPECT_FALSE(errors.any());
    std::thread([] { CPLError(CE_Failure, CPLE_FileIO, "_tiffWriteProc:No space left"); }).join();
    CPLError(CE_Failure, CPLE_AppDefined, "later");
    EXPECT_EQ(errors.reason(), "No space left");
}

}  // namespace
}  // namespace kartovex
