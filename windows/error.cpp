#include "error.h"

#include "ui_msgwindow.h"

#include "platform/textcodec.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/windowmove.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QTextCursor>

TMsgWindow::TMsgWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::MsgWindow>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    setFixedSize(size());
    connect(ui->Button1, &QPushButton::clicked, this, &TMsgWindow::Button1Click);
}

TMsgWindow::~TMsgWindow() = default;

void TMsgWindow::AddText(const std::string &text)
{
    QString lines = platform::DecodeText(text);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (lines.endsWith(QLatin1Char('\n')))
        lines.chop(1);
    QTextCursor cursor(ui->ErrorMsg->document());
    cursor.movePosition(QTextCursor::End);
    if (!empty_)
        cursor.insertBlock();
    cursor.insertText(lines);
    empty_ = false;
}

void TMsgWindow::SetCaption(const std::string &caption)
{
    setWindowTitle(platform::DecodeText(caption));
}

void TMsgWindow::Report(QWidget *parent, const std::string &caption, const std::string &text)
{
    TMsgWindow window(parent);
    window.SetCaption(caption);
    window.AddText(text);
    window.exec();
}

void TMsgWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

// Centres the window on the screen.
void TMsgWindow::FormShow()
{
    CenterOnScreen(this);
}

void TMsgWindow::Button1Click()
{
    close();
}
