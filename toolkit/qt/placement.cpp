#include "toolkit/qt/placement.h"

#include "toolkit/qt/frame_extents.h"
#include "ui/placement.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace toolkit::qt {
namespace {

// Lives from the first show until the frame is known. Until then the window is centred by its
// client area; once the window manager has framed it, by the frame, whichever the window
// manager does first of placing, framing and mapping the window. A frame of zero (a tiling
// window manager, a borderless window), or none where no window manager publishes frames, is
// known too: the window stays where it is.
class FrameCentring final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit FrameCentring(QWidget& window)
        : QObject(&window)
        , window_(window)
        , x11_(FrameExtents::onX11()) {
        window.winId(); // the native window, whose frame is asked for
        if (x11_)
            qGuiApp->installNativeEventFilter(this);
        centre({});
        window.windowHandle()->installEventFilter(this);
    }

    ~FrameCentring() override { qGuiApp->removeNativeEventFilter(this); }

    // The first exposure: the frame may be there already.
    bool eventFilter(QObject* handle, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_.windowHandle()->isExposed()) {
            handle->removeEventFilter(this); // moving may expose the window again, at once
            exposed_ = true;
            centreOnFrame();
        }
        return false;
    }

    // A window manager publishes the frame once it has made it.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type == "xcb_generic_event_t" && x11_->changes(message, window_))
            centreOnFrame();
        return false;
    }

private:
    void centreOnFrame() {
        if (done_)
            return;
        std::optional<ui::FrameMargins> frame;
        if (x11_) {
            frame = x11_->of(window_);
        } else {
            const QMargins margins = window_.windowHandle()->frameMargins();
            frame = ui::FrameMargins{double(margins.left()), double(margins.top()),
                                     double(margins.right()), double(margins.bottom())};
        }
        if (!frame && (!exposed_ || x11_->published()))
            return; // not published yet
        if (frame && *frame != ui::FrameMargins{})
            centre(*frame);
        done_ = true;
        deleteLater();
    }

    // The client area is placed rather than the frame: a window manager may have framed the
    // window around the position first asked for, and openbox ignores a request to move the
    // frame to where the client area already is, taking it for an old client bug. The frame
    // is kept in fractions of a pixel: on a scaled screen, the window manager's whole pixels
    // are not whole pixels of the window.
    void centre(const ui::FrameMargins& frame) {
        QWindow& handle = *window_.windowHandle();
        const QRect area = window_.screen()->availableGeometry();
        const ui::Position position =
            ui::centredPosition(handle.width(), handle.height(), frame,
                                {area.left(), area.top(), area.width(), area.height()});
        handle.setPosition(position.x, position.y);
    }

    QWidget& window_;
    const std::optional<FrameExtents> x11_;
    bool exposed_ = false;
    bool done_ = false;
};

} // namespace

void showInFront(QWidget& window) {
    window.show();
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

void centreByFrame(QWidget& window) { new FrameCentring(window); }

} // namespace toolkit::qt
