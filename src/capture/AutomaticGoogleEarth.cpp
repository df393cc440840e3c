#include "AutomaticGoogleEarth.h"

#include <string>

#include "model/RuntimeError.h"

namespace kartovex {

AutomaticGoogleEarth::AutomaticGoogleEarth(GoogleEarthPlatform* direct, GoogleEarthPlatform* link)
    : direct_(direct), link_(link), fallback_(direct != nullptr ? direct : link) {}

std::unique_ptr<ApplicationGE> AutomaticGoogleEarth::connect() {
    current_ = nullptr;
    std::string directFailure;
    if (direct_ != nullptr) {
        try {
            auto app = direct_->connect();
            current_ = direct_;
            return app;
        } catch (const RuntimeError& e) {
            if (link_ == nullptr) throw;
            directFailure = e.description();
        }
    }
    try {
        auto app = link_->connect();
        current_ = link_;
        return app;
    } catch (const RuntimeError& e) {
        if (directFailure.empty()) throw;
        // Either way would do: the link's failure says what to open in Google Earth, the
        // direct one how to start what answers directly.
        throw RuntimeError(e.number(), e.description() + "\n" + directFailure);
    }
}

}  // namespace kartovex
