#pragma once

#include <objbase.h>
#include <windows.h>

namespace kartovex {

// Joins the calling thread to a single-threaded COM apartment for as long as it lives, as
// a user-interface thread that talks to an automation server must be. A thread that is
// already in one (Qt's window system joins it through OLE) stays in it; a thread already
// in the multithreaded apartment stays there, which serves the calls just as well.
class ComApartment {
public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

}  // namespace kartovex
