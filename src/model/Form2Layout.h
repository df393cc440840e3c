#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The main window as it was designed: every control at its place in twips, with its
// caption, colours and place in the tab order. The view draws from this table.
namespace kartovex {

inline constexpr int kTwipsPerPixel = 15;

// The windows were laid out at 15 twips per pixel; the toolkit scales pixels to the display.
constexpr int pixels(int twips) {
    return twips / kTwipsPerPixel;
}

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kTeal{0, 128, 128};

enum class ControlKind { Label, Button, TextBox, Frame };

struct ControlSpec {
    std::string_view name;  // Label19's six members are Label19_0 to Label19_5
    ControlKind kind;
    bool inFrame;  // placed in Frame1, measured from the frame's top-left corner
    int left, top, width, height;
    std::string_view caption;
    std::optional<Rgb> back;
    std::optional<Rgb> fore;
    bool autoSize;
    bool centred;
    int tabIndex;
};

struct WindowSpec {
    std::string_view caption;
    int clientWidth, clientHeight;  // twips
    Rgb back;
};

WindowSpec form2Window();
std::span<const ControlSpec> form2Controls();
const ControlSpec& form2Control(std::string_view name);

}  // namespace kartovex
