#include "about_form.h"

#include "ui_about.h"

#include "app/design.h"
#include "platform/textcodec.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/windowmove.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <vector>

namespace {

// The libraries each start-up flag stands for, in flag order.
const std::array<std::vector<const char *>, LibraryCount> LibraryLines = {{
    {"unlha32.dll"},
    {"unzip32.dll"},
    {"cab32.dll"},
    {"unrar.dll", "unrar32.dll"},
    {"tar32.dll"},
    {"unarj32j.dll"},
    {"rcpcv.dll"},
}};

const char FixedLines[] = "== Sono Lux ==\n"
                          "\n"
                          "version 0.6.0 Release\n"
                          "\n"
                          "Sonolux project\n"
                          "\n"
                          "+ Support +\n"
                          "\n"
                          "HomePage : https://sonolux.org/\n"
                          "E-mail : support@sonolux.org\n"
                          "\n"
                          "- Dll`s -\n"
                          "\n";

} // namespace

std::string AboutText(const std::array<bool, LibraryCount> &libraryPresent)
{
    std::string text = FixedLines;
    for (std::size_t flag = 0; flag < LibraryCount; ++flag) {
        if (!libraryPresent[flag])
            continue;
        for (const char *library : LibraryLines[flag])
            text.append(library).append("\n");
    }
    return text;
}

Tabout::Tabout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::about>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    setFixedSize(size());
    ui->Label1->installEventFilter(this);
}

Tabout::~Tabout() = default;

void Tabout::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

// A click is a left press and release both on the text.
bool Tabout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->Label1)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        label1Pressed_ = mouse->button() == Qt::LeftButton;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = label1Pressed_ && mouse->button() == Qt::LeftButton &&
                           ui->Label1->rect().contains(mouse->position().toPoint());
        label1Pressed_ = false;
        if (click)
            Label1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Fills in the text and the current design colours, and centres the window on the screen.
void Tabout::FormShow()
{
    QPalette panel = ui->Panel2->palette();
    panel.setColor(QPalette::Window, ToQColor(BackColor));
    ui->Panel2->setPalette(panel);

    QPalette label = ui->Label1->palette();
    label.setColor(QPalette::WindowText, ToQColor(ActiveColor));
    ui->Label1->setPalette(label);

    ui->Label1->setText(platform::DecodeText(AboutText(LibraryPresent)));

    CenterOnScreen(this);
}

void Tabout::Label1Click()
{
    close();
}
