#include "AutomationObject.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "ComError.h"

namespace kartovex {
namespace {

using Microsoft::WRL::ComPtr;

// Frees what a server left in an exception record, whatever path the failure takes.
struct ExceptionRecord {
    EXCEPINFO info{};
    ~ExceptionRecord() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

// Failures that mean the server process went away or stopped taking calls, not that the
// call itself was wrong.
bool serverGone(HRESULT hr) {
    constexpr HRESULT gone[] = {RPC_E_DISCONNECTED,
                                RPC_E_SERVER_DIED,
                                RPC_E_SERVER_DIED_DNE,
                                CO_E_OBJNOTCONNECTED,
                                hresultFromWin32(RPC_S_SERVER_UNAVAILABLE),
                                hresultFromWin32(RPC_S_CALL_FAILED),
                                hresultFromWin32(RPC_S_CALL_FAILED_DNE)};
    return std::find(std::begin(gone), std::end(gone), hr) != std::end(gone);
}

// Only numbers count as numbers: nothing would read as 0, and a text would be read in
// some locale or other.
bool isNumber(VARTYPE type) {
    switch (type) {
        case VT_R8:
        case VT_R4:
        case VT_DECIMAL:
        case VT_CY:
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UI8:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

bool serverBusy(HRESULT hr) {
    return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

}  // namespace

AutomationObject::AutomationObject(IUnknown* object, const IID& iid, std::string interfaceName)
    : iid_(iid), interfaceName_(std::move(interfaceName)) {
    // The interface is dual: its table begins with IDispatch's.
    const HRESULT hr =
        object->QueryInterface(iid, reinterpret_cast<void**>(dispatch_.GetAddressOf()));
    if (FAILED(hr) || !dispatch_)
        throw comError(FAILED(hr) ? hr : E_NOINTERFACE,
                       "Google Earth's automation object does not offer " + interfaceName_ + ": " +
                           systemMessage(FAILED(hr) ? hr : E_NOINTERFACE));
}

Variant AutomationObject::invoke(const wchar_t* member, WORD kind, std::vector<Variant> args) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        throw comError(hr, "Google Earth's " + interfaceName_ + " has no member " + utf8(member) +
                               " (" + systemMessage(hr) + ")");

    // IDispatch takes the arguments last first.
    std::vector<VARIANTARG> reversed;
    reversed.reserve(args.size());
    std::for_each(args.rbegin(), args.rend(), [&](Variant& a) { reversed.push_back(*a.get()); });
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};

    Variant result;
    ExceptionRecord exception;
    UINT argumentInError = 0;
    SetErrorInfo(0, nullptr);
    hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result.get(),
                           &exception.info, &argumentInError);
    if (FAILED(hr)) throw failure(hr, exception.info, argumentInError, args.size(), member);
    return result;
}

double AutomationObject::number(const wchar_t* property) {
    Variant value = invoke(property, DISPATCH_PROPERTYGET);
    HRESULT hr = isNumber(V_VT(value.get())) ? S_OK : DISP_E_TYPEMISMATCH;
    if (SUCCEEDED(hr) && V_VT(value.get()) != VT_R8)
        hr = VariantChangeTypeEx(value.get(), value.get(), LOCALE_INVARIANT, 0, VT_R8);
    if (FAILED(hr))
        throw comError(hr, "Google Earth's " + where(property) + " answered no number (" +
                               systemMessage(hr) + ")");
    return V_R8(value.get());
}

AutomationObject AutomationObject::object(const wchar_t* member, WORD kind,
                                          std::vector<Variant> args, const IID& iid,
                                          std::string interfaceName) {
    Variant value = invoke(member, kind, std::move(args));
    IUnknown* answer = nullptr;
    if (V_VT(value.get()) == VT_DISPATCH) answer = V_DISPATCH(value.get());
    if (V_VT(value.get()) == VT_UNKNOWN) answer = V_UNKNOWN(value.get());
    if (!answer)
        throw comError(DISP_E_TYPEMISMATCH,
                       "Google Earth's " + where(member) + " answered no " + interfaceName);
    return AutomationObject(answer, iid, std::move(interfaceName));
}

std::string AutomationObject::where(const wchar_t* member) const {
    return interfaceName_ + "." + utf8(member);
}

RuntimeError AutomationObject::failure(HRESULT hr, EXCEPINFO& exception, UINT argumentInError,
                                       std::size_t argumentCount, const wchar_t* member) const {
    HRESULT code = hr;
    std::string description;
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        if (exception.scode != 0)
            code = exception.scode;
        else if (exception.wCode != 0)
            code = exception.wCode;
        description = utf8(exception.bstrDescription);
    } else {
        description = errorInfoDescription();
    }
    if (description.empty()) description = systemMessage(code);

    std::string context = where(member);
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) &&
        argumentInError < argumentCount)
        context += ", argument " + std::to_string(argumentCount - argumentInError);
    if (serverGone(code))
        return comError(code, "Google Earth closed or stopped answering during the command: " +
                                  description + " (" + context + ")");
    if (serverBusy(code))
        return comError(code,
                        "Google Earth is busy and did not take the call; it may still be "
                        "starting up: " +
                            description + " (" + context + ")");
    return comError(code, description + " (" + context + ")");
}

// The description a server leaves through IErrorInfo, where the object says it does.
// Taking it also clears it, so no later failure reports it again.
std::string AutomationObject::errorInfoDescription() const {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return {};
    ComPtr<ISupportErrorInfo> support;
    if (FAILED(dispatch_.As(&support)) ||
        (support->InterfaceSupportsErrorInfo(iid_) != S_OK &&
         support->InterfaceSupportsErrorInfo(IID_IDispatch) != S_OK))
        return {};
    BSTR text = nullptr;
    if (FAILED(info->GetDescription(&text))) return {};
    std::string description = utf8(text);
    SysFreeString(text);
    return description;
}

}  // namespace kartovex
