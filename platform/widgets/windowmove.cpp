#include "windowmove.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>
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

} // namespace

WindowMover::WindowMover(QWidget *window, std::function<void()> onEnd)
    : QObject(window)
    , window_(window)
    , onEnd_(std::move(onEnd))
{
    watch_.setInterval(ButtonPollMs);
    connect(&watch_, &QTimer::timeout, this, &WindowMover::WatchButton);
}

void WindowMover::Start()
{
    if (moving_)
        return;
    moving_ = true;
    QWindow *handle = window_->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
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
    if (onEnd_)
        onEnd_();
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
