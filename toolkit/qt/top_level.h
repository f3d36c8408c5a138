#pragma once

// What the windows of the Qt front-end share: the definitions' units and colours in Qt's
// types, the controls made from a definition, and how a window is shown and placed.

#include "forms/form_def.h"
#include "ui/toolkit.h"

#include <QColor>
#include <QIcon>
#include <QRect>

#include <string_view>
#include <utility>
#include <vector>

class QWidget;

namespace toolkit::qt {

// Qt scales for the screen itself: its pixels are those of the standard density.
inline QRect pixelRect(const forms::Rect& twips) {
    const forms::Rect p = forms::pixels(twips, forms::standardDpi);
    return {p.left, p.top, p.width, p.height};
}

inline QColor qcolor(forms::Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

QIcon qicon(const forms::Icon& icon);

// A window of this front-end: the top-level widget that it shows.
class TopLevel {
public:
    virtual QWidget& widget() const = 0;

protected:
    ~TopLevel() = default;
};

QWidget& widgetOf(ui::Window& window);

// Names the window after its definition and gives it the definition's caption and icon.
void applyDefinition(QWidget& window, const forms::Form& form);

// The controls of a definition on `parent`, by their names, placed in twips, with their fonts.
using Controls = std::vector<std::pair<std::string_view, QWidget*>>;
Controls makeControls(const forms::Form& form, QWidget& parent);
QWidget& controlNamed(const Controls& controls, std::string_view name);

// Shows a window, brings it to the front and makes it active.
void showInFront(QWidget& window);

// Centres a window on its screen by its frame, as the user sees it, the first time it is
// shown, and keeps the frame's top-left corner on the screen's available area, so that the
// title bar stays within reach on a screen smaller than the window.
void centreByFrame(QWidget& window);

} // namespace toolkit::qt
