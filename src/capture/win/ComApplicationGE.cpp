#include "ComApplicationGE.h"

#include <utility>

#include "ComError.h"
#include "GoogleEarthInterfaces.h"

namespace kartovex {
namespace {

using namespace googleearth;

// OLE_HANDLE comes as a 32-bit integer; window handles carry 32 significant bits, so a
// wider or unsigned answer is cut to them.
std::int32_t handleFrom(const Variant& value) {
    const VARIANT& v = *value.get();
    switch (V_VT(&v)) {
        case VT_I4:
            return V_I4(&v);
        case VT_INT:
            return V_INT(&v);
        case VT_UI4:
            return static_cast<std::int32_t>(V_UI4(&v));
        case VT_UINT:
            return static_cast<std::int32_t>(V_UINT(&v));
        case VT_I8:
            return static_cast<std::int32_t>(V_I8(&v));
        case VT_UI8:
            return static_cast<std::int32_t>(V_UI8(&v));
        case VT_I2:
            return V_I2(&v);
        default:
            throw comError(DISP_E_TYPEMISMATCH,
                           "Google Earth's IApplicationGE.GetRenderHwnd answered no window handle");
    }
}

bool isZero(const Variant& value) {
    Variant copy;
    if (FAILED(VariantChangeTypeEx(copy.get(), const_cast<VARIANT*>(value.get()), LOCALE_INVARIANT,
                                   0, VT_I4)))
        return false;
    return V_I4(copy.get()) == 0;
}

}  // namespace

ComApplicationGE::ComApplicationGE(AutomationObject application)
    : application_(std::move(application)) {}

// While Google Earth starts up its calls fail with errors that do not say so; asked after
// a failure, IsInitialized tells, and the report then says what to do.
template <typename Call>
auto ComApplicationGE::tellingStartUp(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (const RuntimeError& e) {
        bool starting = false;
        try {
            starting = isZero(application_.invoke(L"IsInitialized", DISPATCH_METHOD));
        } catch (const RuntimeError&) {
        }
        if (!starting) throw;
        throw RuntimeError(e.number(),
                           "Google Earth is still starting up and cannot answer yet: wait until "
                           "it shows the Earth, then press again (" +
                               e.description() + ")");
    }
}

CameraInfo ComApplicationGE::GetCamera(bool considerTerrain) {
    return tellingStartUp([&] {
        std::vector<Variant> args;
        args.push_back(Variant::boolean(considerTerrain));
        AutomationObject camera = application_.object(
            L"GetCamera", DISPATCH_METHOD, std::move(args), IID_ICameraInfoGE, "ICameraInfoGE");
        CameraInfo info;
        info.focusPointLatitude = camera.number(L"FocusPointLatitude");
        info.focusPointLongitude = camera.number(L"FocusPointLongitude");
        info.focusPointAltitude = camera.number(L"FocusPointAltitude");
        info.range = camera.number(L"Range");
        info.tilt = camera.number(L"Tilt");
        info.azimuth = camera.number(L"Azimuth");
        return info;
    });
}

void ComApplicationGE::SetCameraParams(double latitude, double longitude, double altitude,
                                       int altitudeMode, double range, double tilt, double azimuth,
                                       double speed) {
    tellingStartUp([&] {
        std::vector<Variant> args;
        args.push_back(Variant::real(latitude));
        args.push_back(Variant::real(longitude));
        args.push_back(Variant::real(altitude));
        args.push_back(Variant::integer(altitudeMode));  // AltitudeModeGE
        args.push_back(Variant::real(range));
        args.push_back(Variant::real(tilt));
        args.push_back(Variant::real(azimuth));
        args.push_back(Variant::real(speed));
        application_.invoke(L"SetCameraParams", DISPATCH_METHOD, std::move(args));
    });
}

std::int32_t ComApplicationGE::GetRenderHwnd() {
    return tellingStartUp(
        [&] { return handleFrom(application_.invoke(L"GetRenderHwnd", DISPATCH_METHOD)); });
}

ViewExtents ComApplicationGE::GetViewExtents() {
    return tellingStartUp([&] {
        AutomationObject extents = application_.object(L"ViewExtents", DISPATCH_PROPERTYGET, {},
                                                       IID_IViewExtentsGE, "IViewExtentsGE");
        ViewExtents result;
        result.north = extents.number(L"North");
        result.south = extents.number(L"South");
        return result;
    });
}

PointOnTerrain ComApplicationGE::GetPointOnTerrainFromScreenCoords(double x, double y) {
    return tellingStartUp([&] {
        std::vector<Variant> args;
        args.push_back(Variant::real(x));
        args.push_back(Variant::real(y));
        AutomationObject point =
            application_.object(L"GetPointOnTerrainFromScreenCoords", DISPATCH_METHOD,
                                std::move(args), IID_IPointOnTerrainGE, "IPointOnTerrainGE");
        PointOnTerrain result;
        result.latitude = point.number(L"Latitude");
        result.longitude = point.number(L"Longitude");
        return result;
    });
}

std::optional<double> ComApplicationGE::StreamingProgressPercentage() {
    return tellingStartUp([&] { return application_.number(L"StreamingProgressPercentage"); });
}

}  // namespace kartovex
