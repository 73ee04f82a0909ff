#pragma once
// A private X server for window tests that need a real window system, and a client of
// the test's own on it that does what a window manager would.

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <string>
#include <sys/types.h>

struct xcb_connection_t;

namespace testing_support {

// Xvfb on a display number it picks itself, ended when this object goes.
class XvfbServer
{
public:
    explicit XvfbServer(QSize screen = QSize(1024, 768));
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    // ":N" once the server accepts clients; empty when it could not be started (Error
    // says why).
    const std::string &Display() const { return display_; }
    const std::string &Error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};

class XClient
{
public:
    explicit XClient(const std::string &display);
    ~XClient();
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool Connected() const { return connection_ != nullptr; }

    // Lists _NET_WM_MOVERESIZE in the root window's _NET_SUPPORTED, so that programs
    // started afterwards hand window moves to the (absent) window manager's move loop.
    void AdvertiseMoveLoop();
    // Moves window as a window manager does, and returns once the server has done it.
    void Move(std::uint32_t window, QPoint to);
    // The window's top-left corner in root coordinates, as the server has it.
    QPoint Position(std::uint32_t window);

private:
    std::uint32_t Atom(const char *name);
    void Sync();

    xcb_connection_t *connection_ = nullptr;
    std::uint32_t root_ = 0;
};

} // namespace testing_support
