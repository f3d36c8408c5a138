#include "toolkit/qt/fonts.h"

#include "toolkit/qt/text.h"

#include <QStringList>

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

} // namespace toolkit::qt
