#pragma once

#include <oaidl.h>
#include <windows.h>

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
    Camera camera;  // where the camera is
    Camera flightFrom, flightTo;
    bool flying = false;
    int flightPolls = 3;  // -1: never lands
    int pollsFlown = 0;
    long renderHwnd = 0;
    bool starting = false;
    Failure failure;
    std::wstring log;
    long liveObjects = 0;
    long serverLocks = 0;
    void (*objectGone)() = nullptr;  // after each object but the class factory goes
};

State& state();
void resetState();

// The interface identifiers as the automation server's documentation writes them.
const IID& iidApplication();
const IID& iidCamera();
const IID& iidViewExtents();
const IID& iidPointOnTerrain();

// A Google Earth object as a script sees it: IDispatch with members called by name, for
// one interface identifier, with IErrorInfo support. Counts itself among the live objects.
class DispatchObject : public IDispatch, public ISupportErrorInfo {
public:
    DispatchObject(const IID& iid, const wchar_t* interfaceName);
    virtual ~DispatchObject();

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

protected:
    struct Member {
        const wchar_t* name;
        WORD kind;  // DISPATCH_METHOD or DISPATCH_PROPERTYGET
        std::vector<VARTYPE> parameters;
    };
    virtual const std::vector<Member>& members() const = 0;
    // Answers member `index` with its arguments in the member's order, types checked.
    virtual HRESULT answer(std::size_t index, const std::vector<VARIANT>& args,
                           VARIANT* result) = 0;

private:
    HRESULT fail(const Failure& failure, EXCEPINFO* exception);

    IID iid_;
    const wchar_t* interfaceName_;
    ULONG references_ = 1;
};

// IApplicationGE; the caller owns the one reference it is created with.
IDispatch* newApplication();

// The class factory for the stand-in's class, likewise.
IClassFactory* newClassFactory();

}  // namespace fake_earth
