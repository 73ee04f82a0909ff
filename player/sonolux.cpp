// The program entry: one bar per user unless "/DEBUG" is the first argument.
#include "application.h"
#include "appstate.h"
#include "main.h"
#include "startup.h"

#include "platform/instance.h"
#include "playlist/view.h"

#include <QMessageBox>

int main(int argc, char **argv)
{
    PreferX11Platform();
    TApplication app(argc, argv);

    if (MustRefuseStart(argc, argv)) {
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8("警告"),
                        QString::fromUtf8("すでに起動されています。"), QMessageBox::Ok);
        box.exec();
        return 0;
    }
    platform::SingleInstance instance(BarWindowClass);
    instance.Claim();

    app.setApplicationName(QStringLiteral("sonolux"));
    app.setApplicationDisplayName(QStringLiteral("Sono Lux"));
    app.setQuitOnLastWindowClosed(false);
    // The SoundFont loads in the background while the windows come up.
    mci::TMediaPlayer::Preload(GetExeFolder());

    try {
        TMidi_main bar;
        Tview_form view;
        bar.SetViewForm(&view);
        bar.show();
        return app.exec();
    } catch (const std::exception &error) {
        TApplication::ShowException(error);
        return 1;
    }
}
