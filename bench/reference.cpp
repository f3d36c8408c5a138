// What the clock's idle cost, memory and launch are measured against, made of Qt Widgets and
// the window definitions alone. `reference`, the floor, is the least program that shows what
// the clock shows at idle: a 100 ms timer; once a second a new readout in the clock's font, a
// new title and the three round-capped hands that moved; the menu bar of the clock's commands;
// and the start-up dialog's window, its field's cursor blinking. `reference bare` is an empty
// window of the clock window's client size, `reference tick` the same with an empty 100 ms timer.

#include "forms/definitions.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTime>
#include <QTimer>

#include <array>
#include <cmath>
#include <numbers>

namespace {

QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const forms::Rect& twips) {
    const forms::Rect r = forms::pixels(twips, forms::standardDpi);
    return {r.left, r.top, r.width, r.height};
}

QColor qcolor(forms::Rgb colour) { return {colour.r, colour.g, colour.b}; }

QFont qfont(const forms::Font& def) {
    QFont font;
    // The named face is seldom installed: the Gothic face that the clock falls back to.
    font.setFamilies({qstr(def.family), QStringLiteral("IPAGothic")});
    font.setPointSize(def.pointSize);
    font.setBold(def.bold);
    return font;
}

// Line1, Line2 and Line3, the last three lines defined, are the second, minute and hour hand.
const forms::LineControl& hand(std::size_t i) {
    return forms::mainFormDefinition.lines[forms::mainFormDefinition.lines.size() - 1 - i];
}

class Dial final : public QWidget {
public:
    Dial()
        : readout_(new QLabel(this)) {
        QPalette colours = palette();
        colours.setColor(QPalette::Window, qcolor(forms::mainBackground));
        setPalette(colours);
        setAutoFillBackground(true);
        readout_->setFont(qfont(forms::readoutFont));
        readout_->setAutoFillBackground(true);
        readout_->setBackgroundRole(QPalette::Button);
        readout_->setGeometry(pixels(forms::mainFormDefinition.controls[0].twips));
    }

    // Where a hand was and where it is are painted again, and nothing else.
    void show(const QTime& now) {
        readout_->setText(now.toString(QStringLiteral("HH:mm:ss")));
        window()->setWindowTitle(now.toString(QStringLiteral("H時mm分ss秒")));
        const std::array<double, 3> turns{now.second() / 60.0, now.minute() / 60.0,
                                          now.hour() % 12 / 12.0};
        const QPointF centre(width() / 2, height() / 2);
        for (std::size_t i = 0; i < hands_.size(); ++i) {
            const double angle = 2 * std::numbers::pi * turns[i];
            const QLineF next(centre, centre + QPointF(std::sin(angle), -std::cos(angle)) *
                                                   std::min(centre.x(), centre.y()));
            if (next == hands_[i])
                continue;
            const int m = hand(i).widthPixels;
            for (const QLineF& line : {hands_[i], next})
                update(QRectF(line.p1(), line.p2()).normalized().toRect().adjusted(-m, -m, m, m));
            hands_[i] = next;
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (std::size_t i = 0; i < hands_.size(); ++i) {
            painter.setPen(
                QPen(qcolor(hand(i).colour), hand(i).widthPixels, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(hands_[i]);
        }
    }

private:
    QLabel* readout_;
    std::array<QLineF, 3> hands_{};
};

} // namespace

int main(int argc, char* argv[]) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const QSize client = pixels({0, 0, forms::mainFormDefinition.clientWidth,
                                 forms::mainFormDefinition.clientHeight})
                             .size();
    QTimer timer;
    if (mode != QLatin1String("bare"))
        timer.start(forms::mainFormDefinition.timerIntervalMs);
    if (mode == QLatin1String("bare") || mode == QLatin1String("tick")) {
        QWidget window;
        window.resize(client);
        window.show();
        return QApplication::exec();
    }

    QMainWindow window;
    auto* dial = new Dial;
    window.setCentralWidget(dial);
    for (const forms::MenuItem& item : forms::mainFormDefinition.menu)
        window.menuBar()->addAction(qstr(item.caption));
    window.resize(client.width(), client.height() + window.menuBar()->sizeHint().height());
    int second = -1;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const QTime now = QTime::currentTime();
        if (std::exchange(second, now.second()) != now.second())
            dial->show(now);
    });
    window.show();
    QWidget dialog;
    dialog.setWindowTitle(qstr(forms::form1Definition.caption));
    dialog.resize(
        pixels({0, 0, forms::form1Definition.clientWidth, forms::form1Definition.clientHeight})
            .size());
    auto* field = new QLineEdit(&dialog);
    field->setFont(qfont(forms::dialogFont));
    field->setGeometry(pixels(forms::findControl(forms::form1Definition, "Text1")->twips));
    dialog.show();
    dialog.activateWindow();
    field->setFocus();
    return QApplication::exec();
}
