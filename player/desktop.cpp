// Requests from the desktop: files opened from the file manager or the media controls,
// raising the bar and quitting.
#include "main.h"

#include "application.h"
#include "platform/widgets/modalgate.h"

#include <QApplication>

void TMidi_main::OpenFromDesktop(const std::vector<std::string> &paths)
{
    RaiseBar();
    if (paths.empty())
        return;
    const bool posted = pendingDrop_.has_value();
    pendingDrop_ = paths;
    if (posted)
        return;
    modalGate_->Post([this] {
        const std::vector<std::string> dropped = std::move(*pendingDrop_);
        pendingDrop_.reset();
        WMDropFiles(dropped);
    });
}

void TMidi_main::RaiseBar()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void TMidi_main::CloseFromDesktop()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isModal())
            window->close();
    }
    modalGate_->Post([this] { close(); });
}

void TMidi_main::ShowRequestError(const std::string &message)
{
    TApplication::ShowException(std::runtime_error(message));
}
