#include "toolkit/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QLabel>

namespace toolkit::qt {
namespace {

// A notification, which screen readers speak as it shows wherever the focus is; an alert that
// shows within a window that is open already, they leave unsaid.
class NoticeAccessible final : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QLabel* notice)
        : QAccessibleWidget(notice, QAccessible::Notification) {}
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

// Qt's bridge to the accessibility bus keeps its own connection, named so, and registers there
// the objects that answer for the windows and for its cache. A call to one of them waits, as an
// event posted to it, for the user-interface thread, which delivers those alone.
void AssistiveAnswers::answer() {
    if (!accessible_ || !cache_) {
        const QDBusConnection bus(QStringLiteral("a11y"));
        if (!bus.isConnected())
            return;
        accessible_ = bus.objectRegisteredAt(QStringLiteral("/org/a11y/atspi/accessible"));
        cache_ = bus.objectRegisteredAt(QStringLiteral("/org/a11y/atspi/cache"));
    }
    for (QObject* answering : {accessible_.data(), cache_.data()})
        if (answering)
            QCoreApplication::sendPostedEvents(answering, QEvent::MetaCall);
}

} // namespace toolkit::qt
