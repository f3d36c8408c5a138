#pragma once

#include "face/surface.h"

#include <QWidget>

#include <array>

class QLabel;

namespace ui {

// The client area of the main window: the face of the analog clock with its seven
// lines, and the digital readout Label1. It paints the lines where the tick put them
// and computes nothing itself.
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
        std::array<float, 4> ends{}; // X1, Y1, X2, Y2 in twips
        QColor colour;
        int widthPixels = 1;
    };
    const LineState& line(face::Line line) const;
    QLabel& label1() const { return *label1_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<LineState, face::lineCount> lines_;
    std::array<face::Line, face::lineCount> paintOrder_{};
    QLabel* label1_ = nullptr;
};

} // namespace ui
