#include <olectl.h>

#include <string>

#include "FakeEarth.h"

// The DLL's COM entry points, its registration and the state a test steers. Only Wine runs
// the tests, and its COM looks for classes among the machine's, where HKEY_CLASSES_ROOT
// writes.
namespace {

constexpr wchar_t kProgId[] = L"GoogleEarth.ApplicationGE";
const std::wstring kClassKey = std::wstring(L"CLSID\\") + fake_earth::kClsid;

// This module's own file, wherever regsvr32 loaded it from.
std::wstring modulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"fake_earth.dll"), path, MAX_PATH);
    return path;
}

}  // namespace

using namespace fake_earth;

// The DLL serves one class: COM asks it for no other.
STDAPI DllGetClassObject(REFCLSID, REFIID riid, LPVOID* object) {
    IClassFactory* factory = newClassFactory();
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

STDAPI DllRegisterServer() {
    const bool written =
        setClassesValue(kClassKey + L"\\InprocServer32", nullptr, modulePath()) &&
        setClassesValue(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        setClassesValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsid);
    return written ? S_OK : SELFREG_E_CLASS;
}

extern "C" State* FakeEarthState() {
    return &state();
}
