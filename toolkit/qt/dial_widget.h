#pragma once

#include "face/surface.h"

#include <QLineF>
#include <QPen>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <string>

class QLabel;

namespace toolkit::qt {

// The client area of the main window: the face of the analog clock with its seven
// lines, and the digital readout Label1. It paints the lines where the tick put them
// and computes nothing itself: a coordinate that changes updates the line's pixels and
// schedules a repaint of only the area the line leaves and the area it enters.
class DialWidget final : public QWidget, public face::Surface {
    Q_OBJECT

public:
    explicit DialWidget(QWidget* parent);

    float ScaleWidth() override;
    float ScaleHeight() override;
    void setEnd(face::Line line, face::End end, float twips) override;
    void setReadout(std::string_view caption) override;
    void setTitle(std::string_view caption) override;

    void setBackColor(const QColor& colour);

    struct LineState {
        std::array<float, 4> ends{}; // X1, Y1, X2, Y2 in twips, as the tick assigned them
    };
    const LineState& line(face::Line line) const;
    QLabel& label1() const { return *label1_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A line as it is painted: in pixels, with its pen and the rectangle it covers.
    struct Drawn {
        QLineF pixels;
        QPen pen;
        QRect bounds;
    };
    void place(std::size_t index);

    std::array<LineState, face::lineCount> lines_;
    std::array<Drawn, face::lineCount> drawn_;
    std::array<face::Line, face::lineCount> paintOrder_{};
    QLabel* label1_ = nullptr;
};

} // namespace toolkit::qt
