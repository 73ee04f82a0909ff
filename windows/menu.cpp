#include "menu.h"

#include "ui_menu.h"

#include "app/design.h"
#include "platform/widgets/fonts.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>

TMenuWindow::TMenuWindow(QWidget *parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::MenuWindow>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    // A press outside only dismisses the menu; it must not reach the window under it too.
    setAttribute(Qt::WA_NoMouseReplay);

    for (int row = 0; row < ui->ListBox1->count(); ++row)
        ui->ListBox1->item(row)->setSizeHint(QSize(0, ItemHeight));
    ui->ListBox1->viewport()->setMouseTracking(true);
    ui->ListBox1->viewport()->installEventFilter(this);

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TMenuWindow::ApplicationStateChanged);
}

TMenuWindow::~TMenuWindow() = default;

void TMenuWindow::PlaceUnder(const QRect &barFrame)
{
    barFrame_ = barFrame;
}

int TMenuWindow::Popup(QWidget *bar)
{
    TMenuWindow menu(bar);
    if (bar)
        menu.PlaceUnder(bar->frameGeometry());
    menu.exec();
    return menu.Tag();
}

void TMenuWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

bool TMenuWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->ListBox1->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            ListBox1MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonPress ||
                   event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            ListBox1MouseDown(mouse->button(), mouse->position().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Wears the current design colours and opens under the bar.
void TMenuWindow::FormShow()
{
    QPalette palette = ui->ListBox1->palette();
    palette.setColor(QPalette::Base, ToQColor(BackColor));
    palette.setColor(QPalette::Text, ToQColor(ActiveColor));
    ui->ListBox1->setPalette(palette);

    if (barFrame_)
        move(barFrame_->left(), barFrame_->top() + barFrame_->height());
}

// Highlights exactly the entry under the pointer; below the last entry, none.
void TMenuWindow::ListBox1MouseMove(const QPoint &pos)
{
    ui->ListBox1->clearSelection();
    if (QListWidgetItem *item = ui->ListBox1->itemAt(pos))
        item->setSelected(true);
}

void TMenuWindow::ListBox1MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button == Qt::LeftButton) {
        const QModelIndex index = ui->ListBox1->indexAt(pos);
        tag_ = index.isValid() ? index.row() : mcNone;
    } else {
        tag_ = mcNone;
    }
    close();
}

void TMenuWindow::ApplicationStateChanged(Qt::ApplicationState state)
{
    if (state != Qt::ApplicationActive && isVisible())
        close();
}
