#include "Form2Layout.h"

#include <array>
#include <stdexcept>
#include <string>

namespace kartovex {
namespace {

constexpr Rgb kGrey{224, 224, 224};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kDarkGrey{64, 64, 64};
constexpr Rgb kWhite{255, 255, 255};
constexpr auto L = ControlKind::Label;
constexpr auto B = ControlKind::Button;
constexpr auto T = ControlKind::TextBox;
constexpr std::nullopt_t none = std::nullopt;

// Top to bottom as the controls stand on the window; one control a line, as in the
// design's table.
// clang-format off
constexpr std::array<ControlSpec, 42> kControls{{
    {"Label23", L, false, 240, 120, 615, 255, "Step1\uFF1A", none, none, false, false, 33},
    {"Label1", L, false, 1320, 240, 1170, 180, "scrResolution", kGrey, none, true, false, 4},
    {"Label4", L, false, 2760, 240, 1500, 180, "", none, none, false, true, 6},
    {"Command1", B, false, 120, 600, 1215, 540, "GE Mapbox information", none, none, false, false, 1},
    {"Label2", L, false, 1440, 600, 1170, 180, "MapResolution", kGrey, none, true, false, 5},
    {"Label5", L, false, 2760, 600, 1530, 180, "", none, none, false, true, 7},
    {"Label6", L, false, 1440, 960, 1710, 180, "Is GE at fullscreen", kRed, kDarkGrey, true, false, 8},
    {"Label7", L, false, 3720, 960, 300, 225, "NO", none, kRed, false, true, 9},
    {"Label3", L, false, 120, 1320, 1260, 180, "Dis up to down", kGrey, none, true, false, 2},
    {"Label8", L, false, 1680, 1320, 2610, 180, "", none, none, true, false, 10},
    {"Label24", L, false, 360, 1680, 735, 255, "Step2\uFF1A", none, none, false, false, 34},
    {"Command2", B, false, 1440, 1680, 1335, 495, "JPG2TABandGST", none, none, false, false, 3},
    {"Command3", B, false, 3000, 1680, 975, 495, "Quit", none, none, false, false, 0},
    {"Frame1", ControlKind::Frame, false, 0, 2280, 4455, 3975, "Theoretical Deviation", kTeal, none, false, false, 11},
    {"Label11", L, true, 600, 240, 180, 180, "GE", none, none, true, false, 14},
    {"zuoshanglong", L, true, 840, 240, 1440, 180, "", none, none, false, false, 13},
    {"Label19_0", L, true, 2400, 240, 180, 180, "\uFF0C", none, none, true, false, 26},
    {"zuoshanglat", L, true, 2640, 240, 1695, 255, "", none, none, false, false, 27},
    {"Label9", L, true, 120, 360, 420, 420, "Point L_U", kWhite, none, false, false, 12},
    {"Label21", L, true, 600, 600, 180, 180, "MI", none, none, true, false, 28},
    {"Text1", T, true, 840, 600, 1455, 270, "", none, none, false, false, 15},
    {"Label19_1", L, true, 2400, 600, 180, 180, "\uFF0C", none, none, true, false, 30},
    {"Text2", T, true, 2640, 600, 1695, 270, "", none, none, false, false, 29},
    {"Command4", B, true, 120, 1080, 495, 375, "Calt", none, none, false, false, 16},
    {"Label12", L, true, 840, 1080, 360, 300, "Devi", none, none, false, false, 17},
    {"zuoshangpianchax", L, true, 1320, 1080, 1335, 255, "", none, none, false, false, 18},
    {"Label19_2", L, true, 2760, 1080, 180, 180, "\uFF0C", none, none, true, false, 31},
    {"zuoshangpianchay", L, true, 3000, 1080, 1335, 255, "", none, none, false, false, 32},
    {"Label14", L, true, 120, 1560, 465, 420, "Point R_B", none, none, false, false, 19},
    {"Label16", L, true, 600, 1560, 180, 180, "GE", none, none, true, false, 21},
    {"youxialong", L, true, 840, 1560, 1455, 180, "", none, none, false, false, 20},
    {"Label19_3", L, true, 2400, 1560, 180, 180, "\uFF0C", none, none, true, false, 35},
    {"youxialat", L, true, 2640, 1560, 1695, 255, "", none, none, false, false, 36},
    {"Label26", L, true, 600, 1920, 180, 180, "MI", none, none, true, false, 37},
    {"Text3", T, true, 840, 1920, 1455, 270, "", none, none, false, false, 22},
    {"Label19_4", L, true, 2400, 1920, 180, 180, "\uFF0C", none, none, true, false, 38},
    {"Text4", T, true, 2640, 1920, 1695, 270, "", none, none, false, false, 39},
    {"Command5", B, true, 120, 2400, 615, 375, "Calt", none, none, false, false, 23},
    {"Label17", L, true, 840, 2520, 360, 180, "Devi", none, none, false, false, 24},
    {"youxiapianchax", L, true, 1320, 2520, 1335, 255, "", none, none, false, false, 25},
    {"Label19_5", L, true, 2760, 2520, 180, 180, "\uFF0C", none, none, true, false, 40},
    {"youxiapianchay", L, true, 3000, 2520, 1335, 255, "", none, none, false, false, 41},
}};
// clang-format on

}  // namespace

WindowSpec form2Window() {
    return {"KartoVex", 4470, 5160, kTeal};  // "KartoVex", unlike the boxes' "Kartovex"
}

std::span<const ControlSpec> form2Controls() {
    return kControls;
}

const ControlSpec& form2Control(std::string_view name) {
    for (const auto& c : kControls)
        if (c.name == name) return c;
    throw std::out_of_range("no control named " + std::string(name));
}

}  // namespace kartovex
