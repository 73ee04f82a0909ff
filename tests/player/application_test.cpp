// The program-wide error report: what escapes an event handler is shown, and the program
// goes on.
#include "player/application.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TApplication &App()
{
    static int argc = 1;
    static char name[] = "application_test";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole run: destroying it during exit races the toolkit's globals.
    static TApplication *app = new TApplication(argc, argv);
    return *app;
}

// A widget whose timer event fails, as an event handler of the program may.
class Failing : public QWidget
{
protected:
    void timerEvent(QTimerEvent *) override
    {
        throw std::runtime_error("ファイルが見つかりません");
    }
};

} // namespace

// Catches an exception from an event handler ending the program, or shown without its text.
TEST(ErrorReport, EscapingErrorsAreShownAndTheProgramGoesOn)
{
    App();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    Failing failing;
    QTimerEvent event(1);
    EXPECT_FALSE(QApplication::sendEvent(&failing, &event));
    EXPECT_EQ(shown, QString::fromUtf8("ファイルが見つかりません"));

    // The next event is delivered as usual.
    bool delivered = false;
    QTimer::singleShot(0, [&delivered] { delivered = true; });
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered);
}
