#pragma once

// The windows of the program as data: what each window is made of when it is created.
// Positions and sizes are twips from the top-left corner of the client area.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace forms {

inline constexpr int twipsPerPixel = 15;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Colours are written as 24-bit values with the blue byte high and the red byte low.
constexpr Rgb fromBgr(std::uint32_t bgr) {
    return {static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
            static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

struct Font {
    std::string_view family;
    int pointSize = 0;
    bool bold = false;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A notice is a label whose caption appears when something happens: it shows only once it
// has a caption, and assistive technologies announce it as an alert.
enum class Kind { Label, Notice, TextBox, CommandButton };

struct Control {
    std::string_view name;
    Kind kind = Kind::Label;
    std::string_view caption; // a text box starts empty and has none
    Rect twips;
    int tabIndex = 0;
    std::optional<Font> font; // nullopt: the toolkit's default font
    // What an assistive technology announces for a text box: what the field holds.
    std::string_view accessibleName = {};
};

struct LineControl {
    std::string_view name;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Rgb colour;
    int widthPixels = 1;
};

struct MenuItem {
    std::string_view name;
    std::string_view caption;
};

struct Form {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    std::span<const Control> controls;
    std::span<const LineControl> lines = {};
    std::span<const MenuItem> menu = {};
    int timerIntervalMs = 0; // 0: the window has no timer
};

constexpr const Control* findControl(const Form& form, std::string_view name) {
    for (const Control& control : form.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

} // namespace forms
