#include <string>
#include <utility>

#include "FakeEarth.h"

// fake_earth_server.exe, started by COM with "-Embedding" for the local server's class.
namespace {

// Nobody connecting, or a client that never lets go, must not leave the process behind.
constexpr UINT kLongestRunMs = 30000;

constexpr wchar_t kTypeLibrary[] = L"{E1F31CE4-B718-41AE-9099-BE3A3D6517B6}";

// Describes Google Earth's four interfaces in a type library beside the program and
// registers it, so COM can carry them between processes. They are described as
// dispinterfaces: only IDispatch is ever called on them.
HRESULT registerTypeLibrary() {
    using namespace fake_earth;
    const std::wstring file = besideProgram(L"fake_earth.tlb");

    ITypeLib* standard = nullptr;
    HRESULT hr = LoadTypeLib(L"stdole2.tlb", &standard);
    if (FAILED(hr)) return hr;
    ITypeInfo* dispatch = nullptr;
    hr = standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatch);
    standard->Release();
    if (FAILED(hr)) return hr;

    ICreateTypeLib2* library = nullptr;
    hr = CreateTypeLib2(SYS_WIN64, file.c_str(), &library);
    GUID id{};
    CLSIDFromString(kTypeLibrary, &id);
    if (SUCCEEDED(hr)) hr = library->SetGuid(id);
    if (SUCCEEDED(hr)) hr = library->SetName(const_cast<LPOLESTR>(L"FakeEarth"));
    if (SUCCEEDED(hr)) hr = library->SetVersion(1, 0);
    const std::pair<const wchar_t*, const IID*> interfaces[] = {
        {L"IApplicationGE", &kIidApplication},
        {L"ICameraInfoGE", &kIidCamera},
        {L"IViewExtentsGE", &kIidViewExtents},
        {L"IPointOnTerrainGE", &kIidPointOnTerrain},
    };
    for (const auto& [name, iid] : interfaces) {
        ICreateTypeInfo* info = nullptr;
        if (SUCCEEDED(hr))
            hr = library->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, &info);
        HREFTYPE base = 0;
        if (SUCCEEDED(hr)) hr = info->SetGuid(*iid);
        if (SUCCEEDED(hr)) hr = info->AddRefTypeInfo(dispatch, &base);
        if (SUCCEEDED(hr)) hr = info->AddImplType(0, base);
        if (SUCCEEDED(hr)) hr = info->LayOut();
        if (info) info->Release();
    }
    if (SUCCEEDED(hr)) hr = library->SaveAllChanges();
    ITypeLib* described = nullptr;
    if (SUCCEEDED(hr)) hr = LoadTypeLibEx(file.c_str(), REGKIND_REGISTER, &described);
    if (described) described->Release();
    if (library) library->Release();
    dispatch->Release();
    return hr;
}

}  // namespace

// "/RegServer" registers the type library and ends; otherwise the program serves.
int main(int argc, char** argv) {
    using namespace fake_earth;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (argc > 1 && std::string(argv[1]) == "/RegServer")
        return SUCCEEDED(registerTypeLibrary()) ? 0 : 1;
    std::wstring endIn;
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--end-in") endIn.assign(value.begin(), value.end());
        if (option == "--render-hwnd") state().steering.renderHwnd = std::stol(value);
    }
    state().steering.failure = {endIn.c_str(), S_OK, L"", Report::EndProcess};
    HANDLE running = CreateMutexW(nullptr, TRUE, kServerRunning);
    state().objectGone = [] {
        if (state().liveObjects <= 1) PostQuitMessage(0);  // only the class factory is left
    };

    CLSID clsid{};
    CLSIDFromString(kLocalServerClsid, &clsid);
    IClassFactory* factory = newClassFactory();
    DWORD cookie = 0;
    CoRegisterClassObject(clsid, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
    SetTimer(nullptr, 0, kLongestRunMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageW(&message);
    CoRevokeClassObject(cookie);
    factory->Release();
    CoUninitialize();
    ReleaseMutex(running);
    CloseHandle(running);
    return 0;
}
