#include "toolkit/qt/dial_widget.h"

#include "forms/windows.h"
#include "toolkit/qt/convert.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include <stdexcept>

namespace toolkit::qt {
namespace {

QPointF pixelPoint(float xTwips, float yTwips) {
    return {xTwips / forms::twipsPerPixel, yTwips / forms::twipsPerPixel};
}

// Whatever a painted line covers, its round caps included: half the pen beyond the end
// points, and a pixel for rounding. Kept within a range that converts to whole pixels.
QRect coverage(const QLineF& line, int widthPixels) {
    constexpr qreal limit = 1 << 24;
    const qreal margin = widthPixels / 2.0 + 1.0;
    return QRectF(line.p1(), line.p2())
        .normalized()
        .adjusted(-margin, -margin, margin, margin)
        .intersected(QRectF(-limit, -limit, 2 * limit, 2 * limit))
        .toAlignedRect();
}

} // namespace

DialWidget::DialWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("mainFormClient"));
    setAccessibleName(qstr(forms::dialAccessibleName));
    // Lines are drawn in the order the window lists them, so the hands lie over the marks.
    std::size_t order = 0;
    for (const forms::LineControl& def : forms::mainForm.lines) {
        const face::Line id = face::lineNamed(def.name);
        lines_[static_cast<std::size_t>(id)].ends = {float(def.x1), float(def.y1), float(def.x2),
                                                     float(def.y2)};
        paintOrder_[order++] = id;
        const auto index = static_cast<std::size_t>(id);
        drawn_[index].pen = QPen(qcolor(def.colour), def.widthPixels, Qt::SolidLine, Qt::RoundCap);
        place(index);
    }

    const forms::Control& label = *forms::findControl(forms::mainForm, "Label1");
    label1_ = new QLabel(this);
    label1_->setObjectName(qstr(label.name));
    label1_->setGeometry(pixelRect(label.twips));
    label1_->setFont(qfont(*label.font));
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1_->setAutoFillBackground(true);
    label1_->setBackgroundRole(QPalette::Button);
    label1_->setForegroundRole(QPalette::ButtonText);
}

float DialWidget::ScaleWidth() { return float(width() * forms::twipsPerPixel); }

float DialWidget::ScaleHeight() { return float(height() * forms::twipsPerPixel); }

const DialWidget::LineState& DialWidget::line(face::Line line) const {
    return lines_.at(static_cast<std::size_t>(line));
}

void DialWidget::place(std::size_t index) {
    const LineState& state = lines_[index];
    Drawn& drawn = drawn_[index];
    drawn.pixels = {pixelPoint(state.ends[0], state.ends[1]),
                    pixelPoint(state.ends[2], state.ends[3])};
    drawn.bounds = coverage(drawn.pixels, drawn.pen.width());
}

void DialWidget::setEnd(face::Line line, face::End end, float twips) {
    const auto index = static_cast<std::size_t>(line);
    float& slot = lines_.at(index).ends.at(static_cast<std::size_t>(end));
    // Assigning the value a coordinate already has changes nothing on screen.
    if (slot == twips)
        return;
    slot = twips;
    update(drawn_[index].bounds);
    place(index);
    update(drawn_[index].bounds);
}

void DialWidget::setReadout(std::string_view caption) { label1_->setText(qstr(caption)); }

void DialWidget::setTitle(std::string_view caption) { window()->setWindowTitle(qstr(caption)); }

void DialWidget::setBackColor(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void DialWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (const face::Line id : paintOrder_) {
        const Drawn& drawn = drawn_[static_cast<std::size_t>(id)];
        if (!drawn.bounds.intersects(dirty))
            continue;
        painter.setPen(drawn.pen);
        painter.drawLine(drawn.pixels);
    }
}

} // namespace toolkit::qt
