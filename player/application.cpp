#include "application.h"

#include "platform/textcodec.h"

#include <QMessageBox>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unexpected error"));
    }
    return false;
}

void TApplication::ShowException(const std::exception &error)
{
    QMessageBox box(QMessageBox::Critical, applicationDisplayName(),
                    platform::DecodeText(error.what()), QMessageBox::Ok, activeWindow());
    box.exec();
}
