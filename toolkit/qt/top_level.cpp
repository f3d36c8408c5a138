#include "toolkit/qt/top_level.h"

#include "toolkit/qt/text.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace toolkit::qt {

QIcon qicon(const forms::Icon& icon) {
    QImage image(icon.size, icon.size, QImage::Format_RGB32);
    for (int row = 0; row < icon.size; ++row)
        for (int column = 0; column < icon.size; ++column)
            image.setPixelColor(column, row, qcolor(icon.pixel(row, column)));
    return QIcon(QPixmap::fromImage(image));
}

void applyDefinition(QWidget& window, const forms::FormDefinition& form) {
    window.setObjectName(qstr(form.name));
    window.setWindowTitle(qstr(form.caption));
    if (form.icon)
        window.setWindowIcon(qicon(*form.icon));
}

} // namespace toolkit::qt
