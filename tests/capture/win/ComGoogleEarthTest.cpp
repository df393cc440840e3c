#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "RecordingMessageBox.h"
#include "capture/Step1Command.h"
#include "capture/win/ComGoogleEarth.h"
#include "fake_earth/FakeEarth.h"
#include "model/MainWindowModel.h"

namespace kartovex {
namespace {

using fake_earth::Report;
using ::testing::IsSubstring;

// fake_earth.dll beside the test program is the file registered for the ProgID, so the
// module COM loads is this one: what the test sets in its state is what its objects answer.
// It stays loaded for the program's life.
template <typename Fn = HRESULT(WINAPI*)()>
Fn fakeEarth(const char* entry) {
    static const HMODULE module = LoadLibraryW(L"fake_earth.dll");
    if (!module) throw std::runtime_error("fake_earth.dll is not beside the test program");
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
}

// A plain window standing where Google Earth's render window would be.
class RenderWindow {
public:
    RenderWindow(int width, int height)
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                nullptr, nullptr)) {}
    ~RenderWindow() { DestroyWindow(hwnd_); }
    long handle() const { return static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd_)); }

private:
    HWND hwnd_;
};

class ComGoogleEarthTest : public ::testing::Test {
protected:
    // One press of Step 1 with the stand-in steered so; the last message it showed. The
    // press must leave none of the stand-in's objects alive.
    std::string press(fake_earth::Steering steering = {}) {
        fake.steering = steering;
        runStep1(form, earth, log);
        EXPECT_EQ(fake.liveObjects, 0) << "objects of the press were not all released";
        return messages.shown.empty() ? std::string() : messages.shown.back().text;
    }

    fake_earth::State& fake = *fakeEarth<fake_earth::StateFn>(fake_earth::kStateEntry)();
    testing::RecordingMessageBox messages;
    NoLog log;
    ComGoogleEarth earth{messages};
    MainWindowModel form;
};

// Every press connects anew; only the first on a main window warns.
TEST_F(ComGoogleEarthTest, Step1LevelsTheCameraWaitsForItToLandAndMeasuresTheRenderWindow) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        bool window;
        int bottomShort;  // pixels short of the screen's bottom edge
        const char *label5, *label7;
    } cases[] = {{true, 0, "", "YES"}, {true, 30, "", "NO"}, {false, 0, "0 X 0", "NO"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label7 + std::to_string(c.bottomShort));
        RenderWindow window(cx, cy - c.bottomShort);
        ASSERT_NE(window.handle(), 0) << "no window: does the Wine prefix have a display driver?";
        press({.renderHwnd = c.window ? window.handle() : 0, .failure = {}});
        EXPECT_EQ(form.caption("Label4"), std::to_string(cx) + " X " + std::to_string(cy));
        EXPECT_EQ(
            form.caption("Label5"),
            *c.label5 ? c.label5 : std::to_string(cx) + " X " + std::to_string(cy - c.bottomShort));
        EXPECT_EQ(form.caption("Label7"), c.label7);
        EXPECT_EQ(std::vector({form.corners.strZuoshangLong, form.corners.strZuoshangLat,
                               form.corners.strYouxiaLong, form.corners.strYouxiaLat}),
                  std::vector<std::string>({"112.516", "34.705", "112.644", "34.635"}));
    }
    const std::vector<testing::RecordingMessageBox::Message> warned{
        {"Open GoogleEarth first！Otherwise it will quit Automatically!", "KartoVex"}};
    EXPECT_EQ(messages.shown, warned);
}

TEST_F(ComGoogleEarthTest, FailingCallReportsTheServersNumberAndDescription) {
    const struct {
        fake_earth::Failure failure;
        const char* reported;  // what the message says after the number
        bool starting = false;
    } cases[] = {
        {{L"SetCameraParams", static_cast<HRESULT>(0x80040201), L"Altitude out of range",
          Report::DeferredExceptionInfo},
         "Altitude out of range (IApplicationGE.SetCameraParams)"},
        {{L"Latitude", static_cast<HRESULT>(0x80040202), L"No terrain under that point",
          Report::ErrorInfo},
         "No terrain under that point (IPointOnTerrainGE.Latitude)"},
        // No description from the server: the system's text, or the code where it has none.
        {{L"North", static_cast<HRESULT>(0x80040203)},
         "Automation error 0x80040203 (IViewExtentsGE.North)"},
        {{L"GetRenderHwnd", E_ACCESSDENIED}, ""},
        {{L"GetPointOnTerrainFromScreenCoords", RPC_E_DISCONNECTED,
          L"The object invoked has disconnected from its clients", Report::ErrorInfo},
         "Google Earth closed or stopped answering during the command: The object invoked has "
         "disconnected from its clients (IApplicationGE.GetPointOnTerrainFromScreenCoords)"},
        {{L"CreateInstance", CO_E_SERVER_EXEC_FAILURE},
         "Google Earth could not be started or reached: "},
        // Calls that succeed with nothing: the number is ours.
        {{L"Range", DISP_E_TYPEMISMATCH, L"", Report::NoAnswer},
         "Google Earth's ICameraInfoGE.Range answered no number"},
        {{L"ViewExtents", DISP_E_TYPEMISMATCH, L"", Report::NoAnswer},
         "Google Earth's IApplicationGE.ViewExtents answered no IViewExtentsGE"},
        {{L"GetRenderHwnd", DISP_E_TYPEMISMATCH, L"", Report::NoAnswer},
         "Google Earth's IApplicationGE.GetRenderHwnd answered no window handle"},
        {{L"", E_FAIL}, "Google Earth is still starting up", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reported);
        form.setCaption("Label7", "YES");
        const std::string code = std::to_string(static_cast<long>(c.failure.hr));
        EXPECT_PRED_FORMAT2(IsSubstring, "error " + code + ": " + c.reported,
                            press({.starting = c.starting, .failure = c.failure}));
        EXPECT_EQ(form.caption("Label7"), "NO");
    }
}

using ClassesEntries = std::vector<std::pair<std::wstring, std::wstring>>;  // key, default

// Stands `entries` in the place of the fake's registration for one test and puts the DLL's
// back afterwards whatever happens.
class RegistrationReplaced {
public:
    explicit RegistrationReplaced(const ClassesEntries& entries) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"GoogleEarth.ApplicationGE");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + fake_earth::kClsid).c_str());
        for (const auto& [key, value] : entries) fake_earth::setClassesValue(key, nullptr, value);
    }
    ~RegistrationReplaced() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT,
                       (std::wstring(L"CLSID\\") + fake_earth::kLocalServerClsid).c_str());
        fakeEarth("DllRegisterServer")();
    }
};

// The ProgID pointing at fake_earth_server.exe beside the test program, started with
// `arguments`; its type library lets COM carry Google Earth's interfaces between the
// processes.
ClassesEntries localServer(const std::wstring& arguments) {
    const std::wstring server = fake_earth::besideProgram(L"fake_earth_server.exe");
    return {{L"GoogleEarth.ApplicationGE\\CLSID", fake_earth::kLocalServerClsid},
            {std::wstring(L"CLSID\\") + fake_earth::kLocalServerClsid + L"\\LocalServer32",
             L"\"" + server + L"\" " + arguments}};
}

// True once the server's process has ended, within a few seconds.
bool serverEnded() {
    const HANDLE running = OpenMutexW(SYNCHRONIZE, FALSE, fake_earth::kServerRunning);
    const bool ended = !running || WaitForSingleObject(running, 10000) != WAIT_TIMEOUT;
    if (running) CloseHandle(running);
    return ended;
}

// Google Earth's own server runs in a process of its own, and may end in the middle of a
// press; either way the press must leave no reference that keeps the process alive. Where
// Google Earth is not registered at all, the press says so.
TEST_F(ComGoogleEarthTest, Step1RunsAgainstALocalServerThatMayEndMidPress) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    RenderWindow window(cx, cy);
    const std::wstring clsid = fake_earth::kClsid;
    const char* const closed = "Google Earth closed or stopped answering during";
    const char* const missing = ": Google Earth is not installed or not registered";
    const struct {
        ClassesEntries registered;
        const char* message;
        bool succeeds = false;
    } cases[] = {
        {localServer(L"--render-hwnd " + std::to_wstring(window.handle())),
         "Open GoogleEarth first", true},
        {localServer(L"--end-in GetRenderHwnd"), closed},
        {localServer(L"--end-in Latitude"), closed},
        {{}, missing},                                              // no ProgID
        {{{L"GoogleEarth.ApplicationGE\\CLSID", clsid}}, missing},  // no class behind it
        {{{L"GoogleEarth.ApplicationGE\\CLSID", clsid},  // the class's server file is gone
          {L"CLSID\\" + clsid + L"\\InprocServer32", L"C:\\nowhere\\googleearth.dll"}},
         missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.registered));
        const RegistrationReplaced registered(c.registered);
        form.setCaption("Label7", c.succeeds ? "NO" : "YES");
        EXPECT_PRED_FORMAT2(IsSubstring, c.message, press());
        EXPECT_EQ(form.caption("Label7"), c.succeeds ? "YES" : "NO");
        EXPECT_TRUE(serverEnded()) << "the server still runs: a reference was kept";
    }
}

}  // namespace
}  // namespace kartovex
