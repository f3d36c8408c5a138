#pragma once

// The windows of the program as data: what each window is made of when it is created.
// Positions and sizes are twips from the top-left corner of the client area.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace forms {

inline constexpr int twipsPerInch = 1440;
// At the density that desktops call 100 %: 15 twips a pixel.
inline constexpr int standardDpi = 96;

// Twips to whole pixels at a density, to the nearest.
constexpr int pixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + (scaled < 0 ? -twipsPerInch : twipsPerInch) / 2) /
                            twipsPerInch);
}

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
    friend constexpr bool operator==(const Font&, const Font&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Rect, Rect) = default;
};

// Whole pixels at a density back to twips, as a client area's size is read.
constexpr float twips(int pixels, int dpi) {
    return static_cast<float>(pixels) * twipsPerInch / static_cast<float>(dpi);
}

constexpr Rect pixels(const Rect& twips, int dpi) {
    return {pixels(twips.left, dpi), pixels(twips.top, dpi), pixels(twips.width, dpi),
            pixels(twips.height, dpi)};
}

// A notice is a label whose caption appears when something happens: it shows only once it
// has a caption, and assistive technologies announce it as an alert. A readout is a label
// whose caption the clock face writes: the window's digital time.
enum class Kind { Label, Notice, Readout, TextBox, CommandButton };

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

// A window's icon: square, a colour a pixel.
struct Icon {
    int size = 0;
    Rgb (*pixel)(int row, int column) = nullptr;
};

struct FormDefinition {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    std::span<const Control> controls;
    std::span<const LineControl> lines = {};
    std::span<const MenuItem> menu = {};
    int timerIntervalMs = 0; // 0: the window has no timer
    const Icon* icon = nullptr;
    // What assistive technologies call a client area that shows something without a caption
    // of its own (the dial).
    std::string_view clientName = {};
};

constexpr const Control* findControl(const FormDefinition& form, std::string_view name) {
    for (const Control& control : form.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

} // namespace forms
