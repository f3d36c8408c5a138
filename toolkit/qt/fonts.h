#pragma once

#include "forms/form_def.h"

#include <QFont>

namespace toolkit::qt {

// The font of a definition, followed by Japanese Gothic faces that Linux desktops ship, so
// that every glyph finds a face even where the named font is missing.
QFont qfont(const forms::Font& font);

} // namespace toolkit::qt
