#pragma once

#include <windows.h>

// Google Earth's automation interfaces, by their identifiers. They are dual interfaces:
// each begins with IDispatch, through which every member is called by name, so nothing
// else of their declarations is needed.
namespace kartovex::googleearth {

inline constexpr wchar_t kProgId[] = L"GoogleEarth.ApplicationGE";

// {2830837B-D4E8-48C6-B6EE-04633372ABE4}
inline constexpr IID IID_IApplicationGE = {
    0x2830837B, 0xD4E8, 0x48C6, {0xB6, 0xEE, 0x04, 0x63, 0x33, 0x72, 0xAB, 0xE4}};
// {08D46BCD-AF56-4175-999E-6DDC3771C64E}
inline constexpr IID IID_ICameraInfoGE = {
    0x08D46BCD, 0xAF56, 0x4175, {0x99, 0x9E, 0x6D, 0xDC, 0x37, 0x71, 0xC6, 0x4E}};
// {865AB2C1-38C5-492B-8B71-AC73F5A7A43D}
inline constexpr IID IID_IViewExtentsGE = {
    0x865AB2C1, 0x38C5, 0x492B, {0x8B, 0x71, 0xAC, 0x73, 0xF5, 0xA7, 0xA4, 0x3D}};
// {F4F7B301-7C59-4851-BA97-C51F110B590F}
inline constexpr IID IID_IPointOnTerrainGE = {
    0xF4F7B301, 0x7C59, 0x4851, {0xBA, 0x97, 0xC5, 0x1F, 0x11, 0x0B, 0x59, 0x0F}};

}  // namespace kartovex::googleearth
