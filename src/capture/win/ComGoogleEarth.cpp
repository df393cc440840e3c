#include "ComGoogleEarth.h"

#include <windows.h>
#include <wrl/client.h>

#include "AutomationObject.h"
#include "ComApplicationGE.h"
#include "ComError.h"
#include "GoogleEarthInterfaces.h"

namespace kartovex {
namespace {

using Microsoft::WRL::ComPtr;

constexpr double kTwipsPerInch = 1440;

// Measures in physical pixels, the same as a screenshot's, also on a display scaled
// above 100 %, whatever DPI awareness the program has declared.
class PhysicalPixels {
public:
    PhysicalPixels()
        : previous_(SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}
    ~PhysicalPixels() {
        if (previous_) SetThreadDpiAwarenessContext(previous_);
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;

private:
    DPI_AWARENESS_CONTEXT previous_;
};

// Where the ProgID, its class or the server's file is missing.
bool notRegistered(HRESULT hr) {
    constexpr HRESULT missing[] = {CO_E_CLASSSTRING,
                                   REGDB_E_CLASSNOTREG,
                                   REGDB_E_READREGDB,
                                   REGDB_E_KEYMISSING,
                                   CO_E_APPNOTFOUND,
                                   CO_E_DLLNOTFOUND,
                                   hresultFromWin32(ERROR_FILE_NOT_FOUND),
                                   hresultFromWin32(ERROR_PATH_NOT_FOUND),
                                   hresultFromWin32(ERROR_MOD_NOT_FOUND)};
    for (HRESULT m : missing)
        if (hr == m) return true;
    return false;
}

RuntimeError creationFailure(HRESULT hr) {
    if (notRegistered(hr)) return comError(hr, "Google Earth is not installed or not registered");
    return comError(hr, "Google Earth could not be started or reached: " + systemMessage(hr));
}

}  // namespace

ComGoogleEarth::ComGoogleEarth(MessageBoxService& messages) : GoogleEarthBackEnd(messages) {}

std::unique_ptr<ApplicationGE> ComGoogleEarth::connect() {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(googleearth::kProgId, &clsid);
    if (FAILED(hr)) throw creationFailure(hr);
    ComPtr<IUnknown> object;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(object.GetAddressOf()));
    if (FAILED(hr)) throw creationFailure(hr);
    return std::make_unique<ComApplicationGE>(
        AutomationObject(object.Get(), googleearth::IID_IApplicationGE, "IApplicationGE"));
}

ScreenMetrics ComGoogleEarth::screenMetrics() {
    const PhysicalPixels physical;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    int dpiX = 0, dpiY = 0;
    if (HDC screen = GetDC(nullptr)) {
        dpiX = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    ScreenMetrics metrics;
    metrics.twipsPerPixelX = kTwipsPerInch / (dpiX > 0 ? dpiX : USER_DEFAULT_SCREEN_DPI);
    metrics.twipsPerPixelY = kTwipsPerInch / (dpiY > 0 ? dpiY : USER_DEFAULT_SCREEN_DPI);
    metrics.widthTwips = width * metrics.twipsPerPixelX;
    metrics.heightTwips = height * metrics.twipsPerPixelY;
    return metrics;
}

bool ComGoogleEarth::getWindowRect(std::int32_t hwnd, WindowRect& rect) {
    const PhysicalPixels physical;
    // A handle's 32 significant bits widen with their sign, as LongToHandle does.
    const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
    RECT r{};
    if (!GetWindowRect(window, &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

void ComGoogleEarth::pause(std::chrono::milliseconds duration) {
    Sleep(duration.count() > 0 ? static_cast<DWORD>(duration.count()) : 0);
}

}  // namespace kartovex
