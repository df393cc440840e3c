#pragma once

#include <oaidl.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdint>

namespace kartovex {

// An automation argument or result, cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
    Variant& operator=(Variant&&) = delete;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant boolean(bool b) {
        Variant v;
        V_VT(&v.value_) = VT_BOOL;
        V_BOOL(&v.value_) = b ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static Variant integer(std::int32_t i) {
        Variant v;
        V_VT(&v.value_) = VT_I4;
        V_I4(&v.value_) = i;
        return v;
    }
    static Variant real(double d) {
        Variant v;
        V_VT(&v.value_) = VT_R8;
        V_R8(&v.value_) = d;
        return v;
    }

    VARIANT* get() { return &value_; }
    const VARIANT* get() const { return &value_; }

private:
    VARIANT value_;
};

}  // namespace kartovex
