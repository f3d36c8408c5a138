#pragma once

// Small bridges from the window definitions to Qt's types.

#include "engine/fault_log.h"
#include "forms/form_def.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

#include <chrono>
#include <string_view>

namespace ui {

inline QString qstr(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline int pixels(int twips) { return twips / forms::twipsPerPixel; }

inline QRect pixelRect(const forms::Rect& twips) {
    return {pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height)};
}

inline QColor qcolor(forms::Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

// The font of the definition, followed by Japanese Gothic faces that Linux desktops
// ship, so that every glyph finds a face even where the named font is missing.
QFont qfont(const forms::Font& font);

// The clock icon, drawn from its pixel data; every window carries it.
QIcon clockIcon();

// Runs a handler for the event loop. A fault inside ends the handler at the failing step,
// as a failed step ends the tick, and goes to the fault log; the program goes on.
template <class Handler>
void RunHandler(engine::FaultLog& faults, std::string_view name, Handler&& handler) noexcept {
    engine::RunHandler(faults, name, std::chrono::steady_clock::now(), handler);
}

} // namespace ui
