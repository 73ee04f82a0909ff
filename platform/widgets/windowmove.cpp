#include "windowmove.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <utility>
#include <xcb/xcb.h>

namespace {

constexpr int ButtonPollMs = 30;

// The left button's state as the X server knows it, or nothing when not on X11.
std::optional<bool> X11LeftButtonDown()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr)
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr)
        return std::nullopt;
    xcb_query_pointer_reply_t *reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    if (reply == nullptr)
        return std::nullopt;
    const bool down = (reply->mask & XCB_BUTTON_MASK_1) != 0;
    free(reply);
    return down;
}

// The window's top-left corner in root coordinates as the X server has it now, or nothing
// when not on X11.
std::optional<QPoint> X11WindowPosition(const QWidget &window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr || window.windowHandle() == nullptr)
        return std::nullopt;
    xcb_connection_t *connection = x11->connection();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window.windowHandle()->winId());
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, screen->root, 0, 0), nullptr);
    if (reply == nullptr)
        return std::nullopt;
    const QPoint device(reply->dst_x, reply->dst_y);
    free(reply);
    const qreal ratio = window.devicePixelRatioF();
    return ratio == 1.0 ? device : (QPointF(device) / ratio).toPoint();
}

} // namespace

WindowMover::WindowMover(QWidget *window, std::function<void()> onEnd)
    : QObject(window)
    , window_(window)
    , onEnd_(std::move(onEnd))
{
    watch_.setInterval(ButtonPollMs);
    connect(&watch_, &QTimer::timeout, this, &WindowMover::WatchButton);
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        // No notice agreed with the server in time: go by what is known.
        if (!endedAt_)
            End();
        StopSettling();
    });
}

void WindowMover::Start()
{
    if (moving_)
        return;
    StopSettling();
    moving_ = true;
    QWindow *handle = window_->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        systemMove_ = true;
        watch_.start();
        return;
    }
    // No move loop from the window system: follow the mouse until the button is up.
    following_ = true;
    grabOffset_ = QCursor::pos() - window_->pos();
    window_->grabMouse();
    qApp->installEventFilter(this);
}

bool WindowMover::LeftButtonDown()
{
    if (const auto down = X11LeftButtonDown())
        return *down;
    return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void WindowMover::WatchButton()
{
    if (!LeftButtonDown())
        Finish();
}

bool WindowMover::eventFilter(QObject *watched, QEvent *event)
{
    if (settling_ && watched == window_ && event->type() == QEvent::Move)
        SettleStep();
    if (!following_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        window_->move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - grabOffset_);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        Finish();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void WindowMover::Finish()
{
    watch_.stop();
    if (following_) {
        following_ = false;
        qApp->removeEventFilter(this);
        window_->releaseMouse();
    }
    moving_ = false;
    if (!std::exchange(systemMove_, false)) {
        // The window followed the mouse: its position is the one the program set.
        End();
        return;
    }
    settling_ = true;
    endedAt_.reset();
    window_->installEventFilter(this);
    settle_.start();
    SettleStep();
}

void WindowMover::SettleStep()
{
    if (ending_)
        return;
    const QPoint known = window_->geometry().topLeft();
    const std::optional<QPoint> server = X11WindowPosition(*window_);
    if (server && *server != known)
        return; // the move notice is still on its way; its Move event comes back here
    if (endedAt_ == known)
        return;
    endedAt_ = known;
    End();
}

void WindowMover::StopSettling()
{
    if (!settling_)
        return;
    settling_ = false;
    settle_.stop();
    window_->removeEventFilter(this);
}

void WindowMover::End()
{
    ending_ = true;
    if (onEnd_)
        onEnd_();
    ending_ = false;
}

void KeepWindowOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QSize area = screen->geometry().size();
    QPoint p = window->pos();
    if (p.x() < 0)
        p.setX(0);
    if (p.x() + window->width() > area.width())
        p.setX(area.width() - window->width());
    if (p.y() < 0)
        p.setY(0);
    if (p.y() + window->height() > area.height())
        p.setY(area.height() - window->height());
    if (p != window->pos())
        window->move(p);
}

void CenterOnScreen(QWidget *window)
{
    const QWidget *parent = window->parentWidget();
    const QScreen *screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}
