#pragma once

#include <windows.h>

// How a test steers fake_earth.dll, the stand-in for Google Earth's automation server,
// and reads what it saw. The DLL exports these functions under the names given.
namespace fake_earth {

// The stand-in's class; the ProgID "GoogleEarth.ApplicationGE" names it while registered.
// {50119964-83BF-4222-8112-2A74659BA1E9}
inline constexpr wchar_t kClsid[] = L"{50119964-83BF-4222-8112-2A74659BA1E9}";

// The same stand-in as a local server in a process of its own, as Google Earth's is:
// fake_earth_server.exe. It ends once the last of its objects is released, or in the
// middle of the call named after "--end-in" on its command line, as a Google Earth that
// closes would; "--render-hwnd" gives the handle GetRenderHwnd answers. While it runs it
// holds the mutex named kServerRunning.
// {2B5A3242-D93F-4209-B839-EE60DDBCCB24}
inline constexpr wchar_t kLocalServerClsid[] = L"{2B5A3242-D93F-4209-B839-EE60DDBCCB24}";
inline constexpr wchar_t kServerRunning[] = L"Local\\KartovexFakeEarthServerRunning";

// How a failing call reports its error.
enum class Report : int {
    ExceptionInfo = 0,          // DISP_E_EXCEPTION with the EXCEPINFO filled in
    DeferredExceptionInfo = 1,  // DISP_E_EXCEPTION, EXCEPINFO filled in when asked
    ErrorInfo = 2,              // the HRESULT itself, the description through IErrorInfo
    Bare = 3,                   // the HRESULT itself and no description
    NoAnswer = 4,               // no failure at all, but an empty answer
    EndProcess = 5,             // the server's process ends in the middle of the call
};

// Back to a fresh start: the camera tilted and turned near 34.67 N 112.58 E, flights of
// three camera polls, Google Earth initialised, no failure.
using ResetFn = void (*)();
inline constexpr char kReset[] = "FakeEarthReset";

// Objects of the server alive now (class factory included).
using LiveObjectsFn = long (*)();
inline constexpr char kLiveObjects[] = "FakeEarthLiveObjects";

// The window handle GetRenderHwnd answers.
using SetRenderHwndFn = void (*)(long hwnd);
inline constexpr char kSetRenderHwnd[] = "FakeEarthSetRenderHwnd";

// While set, every IApplicationGE call but IsInitialized fails, and IsInitialized says 0.
using SetStartingFn = void (*)(int starting);
inline constexpr char kSetStarting[] = "FakeEarthSetStarting";

// From now on every call of `member` ("CreateInstance" for the creation) fails with `hr`
// and `description`, reported the way `report` says; a null member fails nothing.
using FailFn = void (*)(const wchar_t* member, long hr, const wchar_t* description, int report);
inline constexpr char kFail[] = "FakeEarthFail";

}  // namespace fake_earth
