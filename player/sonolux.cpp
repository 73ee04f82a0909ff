// The program entry: one bar per user unless "/DEBUG" is the first argument. Files opened
// from the desktop reach the running bar over the single-instance channel.
#include "app/appstate.h"
#include "app/datafolder.h"
#include "app/startup.h"
#include "application.h"
#include "main.h"
#include "mprisservice.h"

#include "platform/instance.h"
#include "platform/openmessage.h"
#include "playlist/view.h"

#include <QMessageBox>

int main(int argc, char **argv)
{
    PreferX11Platform();
    TApplication app(argc, argv);

    // The claim decides: of copies started together only one gets past this point, and it
    // holds the name until it ends.
    platform::SingleInstance instance(BarWindowClass);
    try {
        if (MustRefuseStart(argc, argv, instance)) {
            QMessageBox box(QMessageBox::Critical, QString::fromUtf8("警告"),
                            QString::fromUtf8("すでに起動されています。"), QMessageBox::Ok);
            box.exec();
            return 0;
        }
    } catch (const std::exception &error) {
        TApplication::ShowException(error);
        return 1;
    }

    app.setApplicationName(QStringLiteral("sonolux"));
    app.setApplicationDisplayName(QStringLiteral("Sono Lux"));
    app.setDesktopFileName(QStringLiteral("sonolux"));
    app.setQuitOnLastWindowClosed(false);

    try {
        // The SoundFont loads in the background while the windows come up.
        SetProgramFolder(GetExeFolder());
        mci::TMediaPlayer::Preload(ConfigFolder);

        TMidi_main bar;
        Tview_form view;
        bar.SetViewForm(&view);
        QObject::connect(&instance, &platform::SingleInstance::messageReceived, &bar,
                         [&bar](const QByteArray &message) {
                             bar.OpenFromDesktop(platform::DecodeOpenMessage(message));
                         });
        const TMprisService mpris(bar.Core(), bar);
        bar.show();
        return app.exec();
    } catch (const std::exception &error) {
        TApplication::ShowException(error);
        return 1;
    }
}
