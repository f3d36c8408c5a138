#pragma once

// Small bridges from the window definitions to Qt's types.

#include "forms/form_def.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

#include <string_view>

namespace toolkit::qt {

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

} // namespace toolkit::qt
