#pragma once

// What the windows of the Qt front-end share: the definitions' units, colours and icon in
// Qt's types.

#include "forms/form_def.h"

#include <QColor>
#include <QIcon>
#include <QRect>

class QWidget;

namespace toolkit::qt {

// Qt scales for the screen itself: its pixels are those of the standard density.
inline QRect pixelRect(const forms::Rect& twips) {
    const forms::Rect p = forms::pixels(twips, forms::standardDpi);
    return {p.left, p.top, p.width, p.height};
}

inline QColor qcolor(forms::Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QIcon qicon(const forms::Icon& icon);

// Names the window after its definition and gives it the definition's caption and icon.
void applyDefinition(QWidget& window, const forms::FormDefinition& form);

} // namespace toolkit::qt
