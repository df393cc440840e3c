#include <olectl.h>

#include <string>

#include "FakeEarth.h"

// The DLL's COM entry points, its registration and the state a test steers.
namespace fake_earth {
namespace {

constexpr wchar_t kProgId[] = L"GoogleEarth.ApplicationGE";
constexpr wchar_t kDescription[] = L"Kartovex test stand-in for Google Earth";

CLSID clsid() {
    CLSID c{};
    CLSIDFromString(kClsid, &c);
    return c;
}

std::wstring modulePath() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&modulePath), &module);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

// Windows looks for a class among the user's classes first, so registering there leaves a
// machine's own Google Earth untouched. Wine's COM looks among the machine's only.
HKEY classesOwner() {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    return wine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

bool setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(classesOwner(), key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

const std::wstring kClassesKey = L"Software\\Classes\\";

}  // namespace
}  // namespace fake_earth

using namespace fake_earth;

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(rclsid, clsid())) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = newClassFactory();
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return state().liveObjects == 0 && state().serverLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring classKey = kClassesKey + L"CLSID\\" + kClsid;
    const std::wstring progIdKey = kClassesKey + kProgId;
    const bool written =
        setValue(classKey, nullptr, kDescription) &&
        setValue(classKey + L"\\InprocServer32", nullptr, modulePath()) &&
        setValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        setValue(classKey + L"\\ProgID", nullptr, kProgId) &&
        setValue(progIdKey, nullptr, kDescription) &&
        setValue(progIdKey + L"\\CLSID", nullptr, kClsid);
    return written ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    RegDeleteTreeW(classesOwner(), (kClassesKey + L"CLSID\\" + kClsid).c_str());
    RegDeleteTreeW(classesOwner(), (kClassesKey + kProgId).c_str());
    return S_OK;
}

extern "C" State* FakeEarthState() {
    return &state();
}
