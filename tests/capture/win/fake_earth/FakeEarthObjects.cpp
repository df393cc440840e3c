#include <algorithm>
#include <charconv>
#include <cwchar>
#include <initializer_list>
#include <utility>

#include "FakeEarth.h"
#include "FakeEarthControl.h"

namespace fake_earth {
namespace {

// A fresh state's camera: tilted and turned, so levelling has something to do.
constexpr Camera kStartCamera{34.67, 112.58, 0, 9000, 45, 30};

// Half the view's size in degrees, so the points a press reads are easy to tell apart.
constexpr double kHalfHeight = 0.035, kHalfWidth = 0.064;

std::wstring number(double x) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, x).ptr;
    return std::wstring(text, end);
}

std::wstring describe(const VARIANT& v) {
    switch (V_VT(&v)) {
        case VT_BOOL:
            return V_BOOL(&v) == VARIANT_FALSE ? L"BOOL false" : L"BOOL true";
        case VT_I4:
            return L"I4 " + std::to_wstring(V_I4(&v));
        case VT_R8:
            return L"R8 " + number(V_R8(&v));
        default:
            return L"VT " + std::to_wstring(V_VT(&v));
    }
}

void logLine(const std::wstring& line) {
    state().log += line + L"\n";
}

HRESULT answerNumber(double x, VARIANT* result) {
    if (result) {
        V_VT(result) = VT_R8;
        V_R8(result) = x;
    }
    return S_OK;
}

HRESULT answerInteger(long x, VARIANT* result) {
    if (result) {
        V_VT(result) = VT_I4;
        V_I4(result) = x;
    }
    return S_OK;
}

HRESULT answerObject(IDispatch* object, VARIANT* result) {
    if (!result) {
        object->Release();
        return S_OK;
    }
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    return S_OK;
}

const wchar_t* earthInterfaceName(REFIID riid) {
    if (IsEqualIID(riid, kIidApplication)) return L"IApplicationGE";
    if (IsEqualIID(riid, kIidCamera)) return L"ICameraInfoGE";
    if (IsEqualIID(riid, kIidViewExtents)) return L"IViewExtentsGE";
    if (IsEqualIID(riid, kIidPointOnTerrain)) return L"IPointOnTerrainGE";
    return nullptr;
}

void describe(const Failure& failure, EXCEPINFO* exception) {
    exception->scode = failure.hr;
    exception->bstrSource = SysAllocString(L"Google Earth");
    exception->bstrDescription = SysAllocString(failure.description.c_str());
}

HRESULT CALLBACK fillInLater(EXCEPINFO* exception) {
    describe(state().failure, exception);
    exception->pfnDeferredFillIn = nullptr;
    return S_OK;
}

// The camera, view extents and point on terrain objects: numbers read as properties.
class Numbers : public DispatchObject {
public:
    Numbers(const IID& iid, const wchar_t* interfaceName,
            std::initializer_list<std::pair<const wchar_t*, double>> properties)
        : DispatchObject(iid, interfaceName) {
        for (const auto& [name, value] : properties) {
            members_.push_back({name, DISPATCH_PROPERTYGET, {}});
            values_.push_back(value);
        }
    }

protected:
    const std::vector<Member>& members() const override { return members_; }
    HRESULT answer(std::size_t index, const std::vector<VARIANT>&, VARIANT* result) override {
        return answerNumber(values_[index], result);
    }

private:
    std::vector<Member> members_;
    std::vector<double> values_;
};

// Where a camera in flight is after `polls` of `total + 1` steps; one that never lands
// stays where it was.
Camera inFlight(const Camera& from, const Camera& to, int polls, int total) {
    if (total < 0) return from;
    const double f = static_cast<double>(polls) / (total + 1);
    auto mix = [f](double a, double b) { return a + (b - a) * f; };
    return {mix(from.latitude, to.latitude), mix(from.longitude, to.longitude),
            mix(from.altitude, to.altitude), mix(from.range, to.range),
            mix(from.tilt, to.tilt),         mix(from.azimuth, to.azimuth)};
}

class Application : public DispatchObject {
public:
    Application() : DispatchObject(kIidApplication, L"IApplicationGE") {}

protected:
    enum { GetCamera, SetCameraParams, GetRenderHwnd, ViewExtentsMember, GetPoint, IsInitialized };

    const std::vector<Member>& members() const override {
        static const std::vector<Member> m{
            {L"GetCamera", DISPATCH_METHOD, {VT_BOOL}},
            {L"SetCameraParams",
             DISPATCH_METHOD,
             {VT_R8, VT_R8, VT_R8, VT_I4, VT_R8, VT_R8, VT_R8, VT_R8}},
            {L"GetRenderHwnd", DISPATCH_METHOD, {}},
            {L"ViewExtents", DISPATCH_PROPERTYGET, {}},
            {L"GetPointOnTerrainFromScreenCoords", DISPATCH_METHOD, {VT_R8, VT_R8}},
            {L"IsInitialized", DISPATCH_METHOD, {}},
        };
        return m;
    }

    HRESULT answer(std::size_t index, const std::vector<VARIANT>& args, VARIANT* result) override {
        State& s = state();
        switch (index) {
            case GetCamera:
                if (s.flying && ++s.pollsFlown > s.flightPolls && s.flightPolls >= 0) {
                    s.camera = s.flightTo;
                    s.flying = false;
                } else if (s.flying) {
                    s.camera = inFlight(s.flightFrom, s.flightTo, s.pollsFlown, s.flightPolls);
                }
                return answerObject(new Numbers(kIidCamera, L"ICameraInfoGE",
                                                {{L"FocusPointLatitude", s.camera.latitude},
                                                 {L"FocusPointLongitude", s.camera.longitude},
                                                 {L"FocusPointAltitude", s.camera.altitude},
                                                 {L"Range", s.camera.range},
                                                 {L"Tilt", s.camera.tilt},
                                                 {L"Azimuth", s.camera.azimuth}}),
                                    result);
            case SetCameraParams: {
                const int altitudeMode = V_I4(&args[3]);
                if (altitudeMode != 1 && altitudeMode != 2) return E_INVALIDARG;
                const Camera to{V_R8(&args[0]), V_R8(&args[1]), V_R8(&args[2]),
                                V_R8(&args[4]), V_R8(&args[5]), V_R8(&args[6])};
                // Speed 5 and above jumps; slower speeds fly.
                if (V_R8(&args[7]) >= 5) {
                    s.camera = to;
                    s.flying = false;
                } else {
                    s.flightFrom = s.camera;
                    s.flightTo = to;
                    s.flying = true;
                    s.pollsFlown = 0;
                }
                return S_OK;
            }
            case GetRenderHwnd:
                return answerInteger(s.renderHwnd, result);
            case ViewExtentsMember:
                return answerObject(new Numbers(kIidViewExtents, L"IViewExtentsGE",
                                                {{L"North", s.camera.latitude + kHalfHeight},
                                                 {L"South", s.camera.latitude - kHalfHeight}}),
                                    result);
            case GetPoint:
                return answerObject(
                    new Numbers(kIidPointOnTerrain, L"IPointOnTerrainGE",
                                {{L"Latitude", s.camera.latitude + kHalfHeight * V_R8(&args[1])},
                                 {L"Longitude", s.camera.longitude + kHalfWidth * V_R8(&args[0])}}),
                    result);
            default:
                return answerInteger(s.starting ? 0 : 1, result);
        }
    }
};

class ClassFactory : public IClassFactory {
public:
    ClassFactory() { ++state().liveObjects; }
    virtual ~ClassFactory() { --state().liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const Failure& f = state().failure;
        if (_wcsicmp(f.member.c_str(), L"CreateInstance") == 0) return f.hr;
        IDispatch* application = newApplication();
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        state().serverLocks += lock ? 1 : -1;
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

}  // namespace

State& state() {
    static State s;
    return s;
}

void resetState() {
    State& s = state();
    s.camera = kStartCamera;
    s.flying = false;
    s.flightPolls = 3;
    s.pollsFlown = 0;
    s.renderHwnd = 0;
    s.starting = false;
    s.failure = Failure{};
    s.log.clear();
}

DispatchObject::DispatchObject(const IID& iid, const wchar_t* interfaceName)
    : iid_(iid), interfaceName_(interfaceName) {
    ++state().liveObjects;
}

DispatchObject::~DispatchObject() {
    --state().liveObjects;
    if (state().objectGone) state().objectGone();
}

HRESULT DispatchObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (const wchar_t* asked = earthInterfaceName(riid))
        logLine(std::wstring(interfaceName_) + L".QueryInterface(" + asked + L")");
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, iid_))
        *object = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() {
    return ++references_;
}

ULONG DispatchObject::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

// Member names are matched without regard to case, as automation does.
HRESULT DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (count != 1 || !names || !ids) return DISP_E_UNKNOWNNAME;
    const auto& m = members();
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (_wcsicmp(m[i].name, names[0]) == 0) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentInError) {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    const auto& m = members();
    if (id < 1 || static_cast<std::size_t>(id) > m.size()) return DISP_E_MEMBERNOTFOUND;
    const std::size_t index = static_cast<std::size_t>(id - 1);
    const Member& member = m[index];
    if (!(flags & member.kind)) return DISP_E_MEMBERNOTFOUND;
    if (!parameters) return E_INVALIDARG;
    if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;

    // The caller puts the arguments last first.
    std::vector<VARIANT> args(parameters->rgvarg, parameters->rgvarg + parameters->cArgs);
    std::reverse(args.begin(), args.end());
    std::wstring line = std::wstring(interfaceName_) + L"." + member.name;
    if (member.kind == DISPATCH_METHOD) {
        line += L"(";
        for (std::size_t i = 0; i < args.size(); ++i) line += (i ? L", " : L"") + describe(args[i]);
        line += L")";
    }
    logLine(line);

    if (args.size() != member.parameters.size()) return DISP_E_BADPARAMCOUNT;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (V_VT(&args[i]) != member.parameters[i]) {
            if (argumentInError) *argumentInError = static_cast<UINT>(args.size() - 1 - i);
            return DISP_E_TYPEMISMATCH;
        }
    }

    const State& s = state();
    if (s.starting && IsEqualIID(iid_, kIidApplication) &&
        std::wcscmp(member.name, L"IsInitialized") != 0)
        return fail({member.name, E_FAIL, L"", static_cast<int>(Report::Bare)}, exception);
    if (result) VariantInit(result);
    if (_wcsicmp(s.failure.member.c_str(), member.name) == 0) return fail(s.failure, exception);
    return answer(index, args, result);
}

HRESULT DispatchObject::InterfaceSupportsErrorInfo(REFIID riid) {
    return IsEqualIID(riid, iid_) ? S_OK : S_FALSE;
}

HRESULT DispatchObject::fail(const Failure& failure, EXCEPINFO* exception) {
    switch (static_cast<Report>(failure.report)) {
        case Report::ExceptionInfo:
            if (!exception) return failure.hr;
            describe(failure, exception);
            return DISP_E_EXCEPTION;
        case Report::DeferredExceptionInfo:
            if (!exception) return failure.hr;
            exception->pfnDeferredFillIn = fillInLater;
            return DISP_E_EXCEPTION;
        case Report::ErrorInfo: {
            ICreateErrorInfo* create = nullptr;
            if (SUCCEEDED(CreateErrorInfo(&create))) {
                create->SetGUID(iid_);
                create->SetSource(const_cast<LPOLESTR>(L"Google Earth"));
                create->SetDescription(const_cast<LPOLESTR>(failure.description.c_str()));
                IErrorInfo* info = nullptr;
                if (SUCCEEDED(
                        create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
                    SetErrorInfo(0, info);
                    info->Release();
                }
                create->Release();
            }
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

IDispatch* newApplication() {
    return new Application;
}

IClassFactory* newClassFactory() {
    return new ClassFactory;
}

}  // namespace fake_earth
