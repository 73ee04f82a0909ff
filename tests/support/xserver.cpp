#include "support/xserver.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char **environ;

namespace testing_support {
namespace {

constexpr const char *XvfbProgram = "/usr/bin/Xvfb";
constexpr int StartTimeoutMs = 20000;

// Reads the display number Xvfb writes to fd once it listens; empty on end of file or
// time-out.
std::string ReadDisplayNumber(int fd)
{
    std::string number;
    pollfd watch{fd, POLLIN, 0};
    while (::poll(&watch, 1, StartTimeoutMs) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1)
            return std::string();
        if (c == '\n')
            return number;
        number += c;
    }
    return std::string();
}

} // namespace

XvfbServer::XvfbServer(QSize screen)
{
    int ready[2];
    if (::pipe(ready) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    const std::string fd = std::to_string(ready[1]);
    const std::string geometry =
        std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
    std::vector<std::string> args = {XvfbProgram, "-displayfd", fd,    "-screen", "0",
                                     geometry,    "-nolisten",  "tcp", "-noreset"};
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawn(&pid_, XvfbProgram, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(ready[0]);
        error_ = std::string("cannot start ") + XvfbProgram + ": " + std::strerror(spawned);
        return;
    }
    const std::string number = ReadDisplayNumber(ready[0]);
    ::close(ready[0]);
    if (number.empty())
        error_ = std::string(XvfbProgram) + " named no display";
    else
        display_ = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

XClient::XClient(const std::string &display)
{
    xcb_connection_t *connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

XClient::~XClient()
{
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
}

std::uint32_t XClient::Atom(const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
    const std::uint32_t atom = reply != nullptr ? reply->atom : 0;
    std::free(reply);
    return atom;
}

void XClient::Sync()
{
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void XClient::AdvertiseMoveLoop()
{
    const std::uint32_t supported[] = {Atom("_NET_WM_MOVERESIZE")};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, root_, Atom("_NET_SUPPORTED"),
                        XCB_ATOM_ATOM, 32, 1, supported);
    Sync();
}

void XClient::Move(std::uint32_t window, QPoint to)
{
    const std::uint32_t values[] = {static_cast<std::uint32_t>(to.x()),
                                    static_cast<std::uint32_t>(to.y())};
    xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    Sync();
}

QPoint XClient::Position(std::uint32_t window)
{
    xcb_translate_coordinates_reply_t *reply = xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr);
    const QPoint position = reply != nullptr ? QPoint(reply->dst_x, reply->dst_y) : QPoint();
    std::free(reply);
    return position;
}

} // namespace testing_support
