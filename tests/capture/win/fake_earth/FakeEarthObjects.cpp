#include <algorithm>
#include <cwchar>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

#include "FakeEarth.h"

namespace fake_earth {
namespace {

// Half the view's size in degrees, so the points a press reads are easy to tell apart.
constexpr double kHalfHeight = 0.035, kHalfWidth = 0.064;

// A COM object counted among the server's live objects, answering QueryInterface for
// IUnknown and the interfaces given.
template <typename... Interfaces>
class Counted : public Interfaces... {
public:
    Counted() { ++state().liveObjects; }
    virtual ~Counted() {
        --state().liveObjects;
        if (state().objectGone) state().objectGone();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if ((*object = find(riid))) AddRef();
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual void* find(REFIID riid) = 0;

private:
    ULONG references_ = 1;
};

// A Google Earth object as a script sees it: IDispatch for one interface identifier, its
// members a table of rows called by name, with IErrorInfo support. Callers always pass the
// result and exception records, as our caller and COM's stub both do.
class FakeObject : public Counted<IDispatch, ISupportErrorInfo> {
public:
    // Answers a call with its arguments in the member's order.
    using Answer = std::function<HRESULT(const std::vector<VARIANT>& args, VARIANT* result)>;
    struct Member {
        const wchar_t* name;
        WORD kind;  // DISPATCH_METHOD or DISPATCH_PROPERTYGET
        Answer answer;
    };

    FakeObject(const IID& iid, std::vector<Member> members)
        : iid_(iid), members_(std::move(members)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    // Member names are matched without regard to case, as automation does.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        const auto named = [&](const Member& m) { return _wcsicmp(m.name, names[0]) == 0; };
        const auto found = std::find_if(members_.begin(), members_.end(), named);
        ids[0] = found == members_.end() ? DISPID_UNKNOWN : DISPID(found - members_.begin() + 1);
        return found == members_.end() ? DISP_E_UNKNOWNNAME : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        const Member& member = members_.at(static_cast<std::size_t>(id - 1));
        if (!(flags & member.kind)) return DISP_E_MEMBERNOTFOUND;

        // The caller puts the arguments last first.
        std::vector<VARIANT> args(parameters->rgvarg, parameters->rgvarg + parameters->cArgs);
        std::reverse(args.begin(), args.end());

        const Steering& s = state().steering;
        if (s.starting && iid_ == kIidApplication && std::wcscmp(member.name, L"IsInitialized"))
            return fail({member.name, E_FAIL}, exception);
        if (_wcsicmp(s.failure.member, member.name) == 0) return fail(s.failure, exception);
        return member.answer(args, result);
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
        return riid == iid_ ? S_OK : S_FALSE;
    }

private:
    void* find(REFIID riid) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_)
            return static_cast<IDispatch*>(this);
        if (riid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
        return nullptr;
    }

    HRESULT fail(const Failure& failure, EXCEPINFO* exception) {
        switch (failure.report) {
            case Report::DeferredExceptionInfo:
                exception->pfnDeferredFillIn = [](EXCEPINFO* later) {
                    later->scode = state().steering.failure.hr;
                    later->bstrSource = SysAllocString(L"Google Earth");
                    later->bstrDescription = SysAllocString(state().steering.failure.description);
                    later->pfnDeferredFillIn = nullptr;
                    return S_OK;
                };
                return DISP_E_EXCEPTION;
            case Report::ErrorInfo: {
                ICreateErrorInfo* create = nullptr;
                CreateErrorInfo(&create);
                create->SetDescription(const_cast<LPOLESTR>(failure.description));
                IErrorInfo* info = nullptr;
                create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
                SetErrorInfo(0, info);
                info->Release();
                create->Release();
                return failure.hr;
            }
            case Report::NoAnswer:
                return S_OK;
            case Report::EndProcess:
                ExitProcess(3);
            default:
                return failure.hr;
        }
    }

    IID iid_;
    std::vector<Member> members_;
};

HRESULT answer(VARIANT* result, VARTYPE type, auto value) {
    V_VT(result) = type;
    if constexpr (std::is_same_v<decltype(value), double>) V_R8(result) = value;
    if constexpr (std::is_same_v<decltype(value), long>) V_I4(result) = value;
    if constexpr (std::is_same_v<decltype(value), IDispatch*>) V_DISPATCH(result) = value;
    return S_OK;
}

// The camera, view extents and point on terrain objects: numbers read as properties.
HRESULT answerNumbers(const IID& iid,
                      std::initializer_list<std::pair<const wchar_t*, double>> properties,
                      VARIANT* result) {
    std::vector<FakeObject::Member> members;
    for (const auto& [name, x] : properties)
        members.push_back(
            {name, DISPATCH_PROPERTYGET, [x](auto&, VARIANT* r) { return answer(r, VT_R8, x); }});
    return answer(result, VT_DISPATCH, static_cast<IDispatch*>(new FakeObject(iid, members)));
}

// IApplicationGE's members as Step 1 calls them. Speed 5 and above jumps; a slower move
// lands after a few polls of the camera.
IDispatch* newApplication() {
    Steering& s = state().steering;
    const auto camera = [&s](auto&, VARIANT* result) {
        if (s.pollsInFlight > 0 && --s.pollsInFlight == 0) s.camera = s.target;
        const Camera& c = s.camera;
        return answerNumbers(kIidCamera,
                             {{L"FocusPointLatitude", c.latitude},
                              {L"FocusPointLongitude", c.longitude},
                              {L"FocusPointAltitude", c.altitude},
                              {L"Range", c.range},
                              {L"Tilt", c.tilt},
                              {L"Azimuth", c.azimuth}},
                             result);
    };
    const auto setCamera = [&s](const std::vector<VARIANT>& a, VARIANT*) {
        if (V_I4(&a[3]) != 1 && V_I4(&a[3]) != 2) return E_INVALIDARG;
        s.target = {V_R8(&a[0]), V_R8(&a[1]), V_R8(&a[2]), V_R8(&a[4]), V_R8(&a[5]), V_R8(&a[6])};
        s.pollsInFlight = V_R8(&a[7]) >= 5 ? 0 : 3;
        if (s.pollsInFlight == 0) s.camera = s.target;
        return S_OK;
    };
    const auto extents = [&s](auto&, VARIANT* result) {
        return answerNumbers(kIidViewExtents,
                             {{L"North", s.camera.latitude + kHalfHeight},
                              {L"South", s.camera.latitude - kHalfHeight}},
                             result);
    };
    const auto point = [&s](const std::vector<VARIANT>& a, VARIANT* result) {
        return answerNumbers(kIidPointOnTerrain,
                             {{L"Latitude", s.camera.latitude + kHalfHeight * V_R8(&a[1])},
                              {L"Longitude", s.camera.longitude + kHalfWidth * V_R8(&a[0])}},
                             result);
    };
    const auto hwnd = [&s](auto&, VARIANT* r) { return answer(r, VT_I4, s.renderHwnd); };
    const auto ready = [&s](auto&, VARIANT* r) { return answer(r, VT_I4, s.starting ? 0L : 1L); };
    return new FakeObject(kIidApplication,
                          {{L"GetCamera", DISPATCH_METHOD, camera},
                           {L"SetCameraParams", DISPATCH_METHOD, setCamera},
                           {L"GetRenderHwnd", DISPATCH_METHOD, hwnd},
                           {L"ViewExtents", DISPATCH_PROPERTYGET, extents},
                           {L"GetPointOnTerrainFromScreenCoords", DISPATCH_METHOD, point},
                           {L"IsInitialized", DISPATCH_METHOD, ready}});
}

class ClassFactory : public Counted<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** object) override {
        *object = nullptr;
        const Failure& f = state().steering.failure;
        if (_wcsicmp(f.member, L"CreateInstance") == 0) return f.hr;
        IDispatch* application = newApplication();
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    void* find(REFIID riid) override {
        return riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this)
                                                                 : nullptr;
    }
};

}  // namespace

State& state() {
    static State s;
    return s;
}

IClassFactory* newClassFactory() {
    return new ClassFactory;
}

}  // namespace fake_earth
