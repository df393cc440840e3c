#pragma once

#include <string_view>

// The names of the main window's controls that the commands read or write. Commands name
// controls only through these, so that a misspelt name fails to compile instead of
// throwing when the command runs.
namespace kartovex::control {

inline constexpr std::string_view Label4 = "Label4";  // screen size
inline constexpr std::string_view Label5 = "Label5";  // render window size
inline constexpr std::string_view Label7 = "Label7";  // full-screen verdict
inline constexpr std::string_view Label8 = "Label8";  // north-south distance
inline constexpr std::string_view zuoshanglong = "zuoshanglong";
inline constexpr std::string_view zuoshanglat = "zuoshanglat";
inline constexpr std::string_view youxialong = "youxialong";
inline constexpr std::string_view youxialat = "youxialat";
inline constexpr std::string_view zuoshangpianchax = "zuoshangpianchax";
inline constexpr std::string_view zuoshangpianchay = "zuoshangpianchay";
inline constexpr std::string_view youxiapianchax = "youxiapianchax";
inline constexpr std::string_view youxiapianchay = "youxiapianchay";
inline constexpr std::string_view Text1 = "Text1";
inline constexpr std::string_view Text2 = "Text2";
inline constexpr std::string_view Text3 = "Text3";
inline constexpr std::string_view Text4 = "Text4";

}  // namespace kartovex::control
