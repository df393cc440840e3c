#include "AutomaticGoogleEarth.h"

#include "model/RuntimeError.h"

namespace kartovex {

AutomaticGoogleEarth::AutomaticGoogleEarth(GoogleEarthPlatform* direct, GoogleEarthPlatform* link)
    : direct_(direct), link_(link), fallback_(direct != nullptr ? direct : link) {}

std::unique_ptr<ApplicationGE> AutomaticGoogleEarth::connect() {
    current_ = nullptr;
    if (direct_ != nullptr) {
        try {
            auto app = direct_->connect();
            current_ = direct_;
            return app;
        } catch (const RuntimeError&) {
            if (link_ == nullptr) throw;
        }
    }
    // What the link says when it fails tells the user what to open in Google Earth.
    auto app = link_->connect();
    current_ = link_;
    return app;
}

}  // namespace kartovex
