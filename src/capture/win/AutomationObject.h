#pragma once

#include <oaidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "Variant.h"
#include "model/RuntimeError.h"

namespace kartovex {

// One object of Google Earth's automation server, asked for one of its interfaces and
// called through IDispatch by member name, as a script calls it. The object is released
// when this goes, on success and on failure alike. A failing call throws RuntimeError
// with the HRESULT as number and the server's own description where it gives one.
class AutomationObject {
public:
    // Asks `object` for the interface `iid`, named `interfaceName` in error reports.
    AutomationObject(IUnknown* object, const IID& iid, std::string interfaceName);

    // `kind` is DISPATCH_METHOD or DISPATCH_PROPERTYGET; `args` are in the member's order.
    Variant invoke(const wchar_t* member, WORD kind, std::vector<Variant> args = {});
    double number(const wchar_t* property);
    // The object a method or property answers, asked for `iid` in turn.
    AutomationObject object(const wchar_t* member, WORD kind, std::vector<Variant> args,
                            const IID& iid, std::string interfaceName);

private:
    std::string where(const wchar_t* member) const;
    RuntimeError failure(HRESULT hr, EXCEPINFO& exception, UINT argumentInError,
                         std::size_t argumentCount, const wchar_t* member) const;
    std::string errorInfoDescription() const;

    Microsoft::WRL::ComPtr<IDispatch> dispatch_;
    IID iid_;
    std::string interfaceName_;
};

}  // namespace kartovex
