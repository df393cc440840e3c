#pragma once

#include <gtest/gtest.h>

#include "model/RuntimeError.h"

namespace kartovex::testing {

// Runs `call` and returns the RuntimeError it throws; fails the test when it throws none.
template <typename Call>
RuntimeError errorOf(Call&& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no RuntimeError was thrown";
    return RuntimeError(0, "");
}

}  // namespace kartovex::testing
