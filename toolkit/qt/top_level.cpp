#include "toolkit/qt/top_level.h"

#include "toolkit/qt/fonts.h"
#include "toolkit/qt/text.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <xcb/xcb.h>

namespace toolkit::qt {
namespace {

// Where a window of this size goes so that its frame is centred on the available area, the
// frame's top-left corner never above or left of it. The frame is kept in fractions of a
// pixel: on a scaled screen, the window manager's whole pixels are not whole pixels of the
// window.
QPoint clientPosition(QSize size, QMarginsF frame, QRect area) {
    QRectF rect(QPointF(), QSizeF(size).grownBy(frame));
    rect.moveCenter(QRectF(area).center());
    const QPointF client = rect.topLeft() + QPointF(frame.left(), frame.top());
    return {std::max(qRound(client.x()), area.left() + qCeil(frame.left())),
            std::max(qRound(client.y()), area.top() + qCeil(frame.top()))};
}

// The frame that the window manager put around a window, as it publishes it
// (_NET_FRAME_EXTENTS): left, right, top, bottom, in the screen's pixels, here turned into
// the window's scaled ones. Qt's own frame margins are worked out from the window tree, which
// some window managers build only after the window shows.
std::optional<QMarginsF> frameExtents(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t atom, qreal pixelRatio) {
    const auto cookie = xcb_get_property(connection, 0, window, atom, XCB_ATOM_CARDINAL, 0, 4);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    std::array<std::uint32_t, 4> e{};
    std::copy_n(static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())), 4,
                e.begin());
    return QMarginsF(e[0], e[2], e[1], e[3]) / pixelRatio;
}

// Whether the window manager publishes frames: it lists _NET_FRAME_EXTENTS among the hints
// it supports (_NET_SUPPORTED on the root window). Without one, no frame is coming.
bool publishesFrames(xcb_connection_t* connection, xcb_atom_t extents) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> supported(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, 14, "_NET_SUPPORTED"),
                              nullptr),
        &free);
    if (!supported || supported->atom == XCB_ATOM_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto cookie =
        xcb_get_property(connection, 0, root, supported->atom, XCB_ATOM_ATOM, 0, 4096);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> hints(
        xcb_get_property_reply(connection, cookie, nullptr), &free);
    if (!hints || hints->format != 32)
        return false;
    const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(hints.get()));
    const auto* last = first + xcb_get_property_value_length(hints.get()) / 4;
    return std::find(first, last, extents) != last;
}

// Lives from the first show until the frame is known. Until then the window is centred
// by its client area; once the window manager has framed it, by the frame, whichever
// the window manager does first of placing, framing and mapping the window. A frame of
// zero (a tiling window manager, a borderless window), or none where no window manager
// publishes frames, is known too: the window stays where it is.
class FrameCentring final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit FrameCentring(QWidget& window)
        : QObject(&window)
        , window_(window) {
        window.winId(); // the native window, whose frame is asked for
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 && x11->connection()) { // the offscreen platform answers without a display
            x11_ = x11->connection();
            static const xcb_atom_t atom = [connection = x11_] { // one round trip a run
                const auto cookie = xcb_intern_atom(connection, 0, 18, "_NET_FRAME_EXTENTS");
                const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
                    xcb_intern_atom_reply(connection, cookie, nullptr), &free);
                return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            }();
            extentsAtom_ = atom;
            qGuiApp->installNativeEventFilter(this);
        }
        centre(QMargins());
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
        if (type == "xcb_generic_event_t") {
            const auto* event = static_cast<const xcb_generic_event_t*>(message);
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
                if (notify->atom == extentsAtom_ && notify->window == window_.winId())
                    centreOnFrame();
            }
        }
        return false;
    }

private:
    void centreOnFrame() {
        if (done_)
            return;
        std::optional<QMarginsF> frame;
        if (x11_)
            frame = frameExtents(x11_, xcb_window_t(window_.winId()), extentsAtom_,
                                 window_.windowHandle()->devicePixelRatio());
        else
            frame = window_.windowHandle()->frameMargins();
        if (!frame && (!exposed_ || publishesFrames(x11_, extentsAtom_)))
            return; // not published yet
        if (frame && !frame->isNull())
            centre(*frame);
        done_ = true;
        deleteLater();
    }

    // The client area is placed rather than the frame: a window manager may have framed the
    // window around the position first asked for, and openbox ignores a request to move the
    // frame to where the client area already is, taking it for an old client bug.
    void centre(QMarginsF frame) {
        QWindow& handle = *window_.windowHandle();
        handle.setPosition(
            clientPosition(handle.size(), frame, window_.screen()->availableGeometry()));
    }

    QWidget& window_;
    bool exposed_ = false;
    bool done_ = false;
    xcb_connection_t* x11_ = nullptr;
    xcb_atom_t extentsAtom_ = XCB_ATOM_NONE;
};

QWidget* makeControl(const forms::Control& def, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (def.kind) {
    case forms::Kind::Label:
    case forms::Kind::Notice:
    case forms::Kind::Readout: {
        auto* label = new QLabel(qstr(def.caption), parent);
        label->setProperty("notice", def.kind == forms::Kind::Notice);
        label->setVisible(def.kind != forms::Kind::Notice);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
        widget = label;
        break;
    }
    case forms::Kind::TextBox: {
        auto* field = new QLineEdit(parent);
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setAccessibleName(qstr(def.accessibleName));
        widget = field;
        break;
    }
    case forms::Kind::CommandButton: {
        auto* button = new QPushButton(qstr(def.caption), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qstr(def.name));
    widget->setGeometry(pixelRect(def.twips));
    if (def.font)
        widget->setFont(qfont(*def.font));
    return widget;
}

} // namespace

QIcon qicon(const forms::Icon& icon) {
    QImage image(icon.size, icon.size, QImage::Format_RGB32);
    for (int row = 0; row < icon.size; ++row)
        for (int column = 0; column < icon.size; ++column)
            image.setPixelColor(column, row, qcolor(icon.pixel(row, column)));
    return QIcon(QPixmap::fromImage(image));
}

QWidget& widgetOf(ui::Window& window) {
    if (auto* topLevel = dynamic_cast<TopLevel*>(&window))
        return topLevel->widget();
    throw std::invalid_argument("a window of another toolkit");
}

void applyDefinition(QWidget& window, const forms::Form& form) {
    window.setObjectName(qstr(form.name));
    window.setWindowTitle(qstr(form.caption));
    if (form.icon)
        window.setWindowIcon(qicon(*form.icon));
}

Controls makeControls(const forms::Form& form, QWidget& parent) {
    Controls controls;
    for (const forms::Control& def : form.controls)
        controls.emplace_back(def.name, makeControl(def, &parent));
    return controls;
}

QWidget& controlNamed(const Controls& controls, std::string_view name) {
    for (const auto& [controlName, widget] : controls)
        if (controlName == name)
            return *widget;
    throw std::out_of_range("no control named " + std::string(name));
}

void showInFront(QWidget& window) {
    window.show();
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

void centreByFrame(QWidget& window) { new FrameCentring(window); }

} // namespace toolkit::qt
