#include "GoogleEarthChoice.h"

#include <QStandardPaths>

#include "capture/AutomaticGoogleEarth.h"

#ifdef KARTOVEX_HAVE_LINK
#include "capture/link/qt/LinkGoogleEarth.h"
#endif

#ifdef _WIN32
#include "capture/win/ComGoogleEarth.h"
#else
#include "capture/sim/SimulatorGoogleEarth.h"
#endif

namespace kartovex {

GoogleEarthChoice::GoogleEarthChoice(const Options& options, MessageBoxService& messages) {
    using GE = Options::GoogleEarth;
    if (options.googleEarth != GE::Link) {
#ifdef _WIN32
        direct = std::make_unique<ComGoogleEarth>(messages);
#else
        direct = std::make_unique<SimulatorGoogleEarth>(messages);
#endif
    }
#ifdef KARTOVEX_HAVE_LINK
    if (options.googleEarth == GE::Automatic || options.googleEarth == GE::Link) {
        link = std::make_unique<LinkGoogleEarth>(
            messages, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            options.linkPort);
    }
#endif
    chosen = std::make_unique<AutomaticGoogleEarth>(direct.get(), link.get());
}

}  // namespace kartovex
