#include "toolkit/qt/convert.h"

#include "forms/clock_icon.h"

#include <QImage>
#include <QPixmap>

namespace toolkit::qt {

QFont qfont(const forms::Font& font) {
    QFont result;
    result.setFamilies({qstr(font.family), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                        QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                        QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic"),
                        QStringLiteral("monospace")});
    result.setPointSize(font.pointSize);
    result.setBold(font.bold);
    return result;
}

QIcon clockIcon() {
    QImage image(forms::clockIconSize, forms::clockIconSize, QImage::Format_RGB32);
    for (int row = 0; row < forms::clockIconSize; ++row)
        for (int column = 0; column < forms::clockIconSize; ++column)
            image.setPixelColor(column, row, qcolor(forms::clockIconPixel(row, column)));
    return QIcon(QPixmap::fromImage(image));
}

} // namespace toolkit::qt
