#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The stand-in server's objects and the one state they share with the test's controls.
namespace fake_earth {

struct Camera {
    double latitude = 0, longitude = 0, altitude = 0, range = 0, tilt = 0, azimuth = 0;
};

struct Failure {
    std::wstring member;
    HRESULT hr = S_OK;
    std::wstring description;
    int report = 0;
};

struct State {
    Camera camera;          // what GetCamera answers
    Camera target;          // where a flight ends
    int pollsInFlight = 0;  // GetCamera polls before a flight lands
    long renderHwnd = 0;
    bool starting = false;
    Failure failure;
    long liveObjects = 0;
    long serverLocks = 0;
    void (*objectGone)() = nullptr;  // after each object but the class factory goes
};

State& state();
void resetState();

// The interface identifiers as the automation server's documentation writes them.
// {2830837B-D4E8-48C6-B6EE-04633372ABE4}, {08D46BCD-AF56-4175-999E-6DDC3771C64E},
// {865AB2C1-38C5-492B-8B71-AC73F5A7A43D}, {F4F7B301-7C59-4851-BA97-C51F110B590F}
inline constexpr IID kIidApplication{
    0x2830837B, 0xD4E8, 0x48C6, {0xB6, 0xEE, 0x04, 0x63, 0x33, 0x72, 0xAB, 0xE4}};
inline constexpr IID kIidCamera{
    0x08D46BCD, 0xAF56, 0x4175, {0x99, 0x9E, 0x6D, 0xDC, 0x37, 0x71, 0xC6, 0x4E}};
inline constexpr IID kIidViewExtents{
    0x865AB2C1, 0x38C5, 0x492B, {0x8B, 0x71, 0xAC, 0x73, 0xF5, 0xA7, 0xA4, 0x3D}};
inline constexpr IID kIidPointOnTerrain{
    0xF4F7B301, 0x7C59, 0x4851, {0xBA, 0x97, 0xC5, 0x1F, 0x11, 0x0B, 0x59, 0x0F}};

// A Google Earth object as a script sees it: IDispatch for one interface identifier, its
// members a table of rows called by name, with IErrorInfo support. Counts itself among
// the live objects.
class FakeObject : public IDispatch, public ISupportErrorInfo {
public:
    // Answers a call with its arguments in the member's order, types already checked.
    using Answer = std::function<HRESULT(const std::vector<VARIANT>& args, VARIANT* result)>;
    struct Member {
        const wchar_t* name;
        WORD kind;  // DISPATCH_METHOD or DISPATCH_PROPERTYGET
        std::vector<VARTYPE> parameters;
        Answer answer;
    };

    FakeObject(const IID& iid, std::vector<Member> members);
    virtual ~FakeObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentInError) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    HRESULT fail(const Failure& failure, EXCEPINFO* exception);

    IID iid_;
    std::vector<Member> members_;
    ULONG references_ = 1;
};

// IApplicationGE; the caller owns the one reference it is created with.
IDispatch* newApplication();

// The class factory for the stand-in's class, likewise.
IClassFactory* newClassFactory();

}  // namespace fake_earth
