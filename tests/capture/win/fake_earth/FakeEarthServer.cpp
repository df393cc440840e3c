#include <olectl.h>

#include <string>

#include "FakeEarth.h"

// The DLL's COM entry points, its registration and the state a test steers. Only Wine runs
// the tests, and its COM looks for classes among the machine's, where HKEY_CLASSES_ROOT
// writes.
namespace {

constexpr wchar_t kProgId[] = L"GoogleEarth.ApplicationGE";
const std::wstring kClassKey = std::wstring(L"CLSID\\") + fake_earth::kClsid;

// The linker's name for this module's own image.
extern "C" IMAGE_DOS_HEADER __ImageBase;

std::wstring modulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    return path;
}

bool setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

}  // namespace

using namespace fake_earth;

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* object) {
    *object = nullptr;
    CLSID clsid{};
    CLSIDFromString(kClsid, &clsid);
    if (!IsEqualCLSID(rclsid, clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = newClassFactory();
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

// The module stays for the test program's life: the test reads its state directly.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

STDAPI DllRegisterServer() {
    const bool written =
        setValue(kClassKey + L"\\InprocServer32", nullptr, modulePath()) &&
        setValue(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        setValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsid);
    return written ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    return S_OK;
}

extern "C" State* FakeEarthState() {
    return &state();
}
