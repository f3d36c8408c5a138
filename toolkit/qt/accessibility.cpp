#include "toolkit/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace toolkit::qt {
namespace {

class NoticeAccessible final : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QLabel* notice)
        : QAccessibleWidget(notice, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

// The dialogs are plain windows, so that Enter and Escape stay with their fields, yet
// assistive technologies should announce them as the dialogs they are.
QAccessibleInterface* interfaceFor(const QString& className, QObject* object) {
    if (className == QLatin1String("toolkit::qt::FormWindow") ||
        object->inherits("toolkit::qt::FormWindow"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    if (object->property("notice").toBool())
        return new NoticeAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = (QAccessible::installFactory(interfaceFor), true);
    Q_UNUSED(installed);
}

} // namespace toolkit::qt
