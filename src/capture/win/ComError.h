#pragma once

#include <windows.h>

#include <string>

#include "model/RuntimeError.h"

namespace kartovex {

// HRESULT_FROM_WIN32 as a constant expression.
constexpr HRESULT hresultFromWin32(DWORD code) {
    return static_cast<HRESULT>((code & 0xFFFF) | (FACILITY_WIN32 << 16) | 0x80000000);
}

// The HRESULT as eight hexadecimal digits after "0x", the form people search for.
std::string hexCode(HRESULT hr);

// The system's text for an HRESULT, in the user's language, without the closing line
// break; for codes the system has no text for (most codes an automation server defines
// itself) "Automation error 0x...".
std::string systemMessage(HRESULT hr);

// UTF-8 of a UTF-16 text from the system or a server; a null text gives "".
std::string utf8(const wchar_t* text);

// A failed COM call as our error: its number is the HRESULT, as Windows reports it.
RuntimeError comError(HRESULT hr, const std::string& description);

}  // namespace kartovex
