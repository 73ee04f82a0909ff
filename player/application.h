#pragma once
// The application object with the program-wide error report: an exception with a
// message that escapes any event handler is shown in a message box, and only the action
// that raised it ends.

#include <QApplication>
#include <exception>

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the message of error in the application's error box.
    static void ShowException(const std::exception &error);
};
