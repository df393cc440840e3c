#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cwchar>
#include <string>

// A stand-in for Google Earth's automation server: fake_earth.dll in-process, and
// fake_earth_server.exe in a process of its own, as Google Earth's is. A test steers the
// DLL through the one state its export FakeEarthState gives, and reads what it saw there.
namespace fake_earth {

// The DLL's class; the ProgID "GoogleEarth.ApplicationGE" names it while registered.
inline constexpr wchar_t kClsid[] = L"{50119964-83BF-4222-8112-2A74659BA1E9}";

// The local server's class. The server ends once the last of its objects is released, or
// in the middle of the call named after "--end-in" on its command line, as a Google Earth
// that closes would; "--render-hwnd" gives the handle GetRenderHwnd answers. While it runs
// it holds the mutex named kServerRunning.
inline constexpr wchar_t kLocalServerClsid[] = L"{2B5A3242-D93F-4209-B839-EE60DDBCCB24}";
inline constexpr wchar_t kServerRunning[] = L"Local\\KartovexFakeEarthServerRunning";

// How a failing call reports its error.
enum class Report {
    DeferredExceptionInfo,  // DISP_E_EXCEPTION, EXCEPINFO filled in when asked
    ErrorInfo,              // the HRESULT itself, the description through IErrorInfo
    Bare,                   // the HRESULT itself and no description
    NoAnswer,               // no failure at all, but an empty answer
    EndProcess,             // the server's process ends in the middle of the call
};

struct Camera {
    double latitude = 0, longitude = 0, altitude = 0, range = 0, tilt = 0, azimuth = 0;
};

// Every call of `member` ("CreateInstance" for the creation) fails; an empty one, none.
// The texts are the caller's, and must outlive the calls.
struct Failure {
    const wchar_t* member = L"";
    HRESULT hr = S_OK;
    const wchar_t* description = L"";
    Report report = Report::Bare;
};

// What the test sets: a fresh one is the camera tilted and turned near 34.67 N 112.58 E,
// so levelling has something to do, and Google Earth ready, failing nothing.
struct Steering {
    Camera camera{34.67, 112.58, 0, 9000, 45, 30};  // what GetCamera answers
    Camera target = camera;                         // where a flight ends
    int pollsInFlight = 0;                          // GetCamera polls before a flight lands
    long renderHwnd = 0;
    bool starting = false;  // every call but IsInitialized fails, and IsInitialized says 0
    Failure failure;
};

struct State {
    Steering steering;
    long liveObjects = 0;            // objects of the server alive now, class factory included
    void (*objectGone)() = nullptr;  // after each object goes
};

State& state();
using StateFn = State* (*)();
inline constexpr char kStateEntry[] = "FakeEarthState";

// The interface identifiers as the automation server's documentation writes them.
inline constexpr IID kIidApplication{
    0x2830837B, 0xD4E8, 0x48C6, {0xB6, 0xEE, 0x04, 0x63, 0x33, 0x72, 0xAB, 0xE4}};
inline constexpr IID kIidCamera{
    0x08D46BCD, 0xAF56, 0x4175, {0x99, 0x9E, 0x6D, 0xDC, 0x37, 0x71, 0xC6, 0x4E}};
inline constexpr IID kIidViewExtents{
    0x865AB2C1, 0x38C5, 0x492B, {0x8B, 0x71, 0xAC, 0x73, 0xF5, 0xA7, 0xA4, 0x3D}};
inline constexpr IID kIidPointOnTerrain{
    0xF4F7B301, 0x7C59, 0x4851, {0xBA, 0x97, 0xC5, 0x1F, 0x11, 0x0B, 0x59, 0x0F}};

// The file `name` in the running program's folder.
inline std::wstring besideProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, std::wcsrchr(path, L'\\') + 1) + name;
}

// Writes `value` as `name` (the default where null) of `key` in HKEY_CLASSES_ROOT.
inline bool setClassesValue(const std::wstring& key, const wchar_t* name,
                            const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

// The class factory for the stand-in's class; the caller owns the one reference it is
// created with.
IClassFactory* newClassFactory();

}  // namespace fake_earth
