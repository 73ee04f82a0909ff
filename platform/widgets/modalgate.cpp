#include "modalgate.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

TModalGate::TModalGate(QObject *parent)
    : QObject(parent)
{
}

void TModalGate::Post(std::function<void()> action)
{
    pending_.push_back(std::move(action));
    Schedule();
}

void TModalGate::Schedule()
{
    if (scheduled_)
        return;
    scheduled_ = true;
    QTimer::singleShot(0, this, &TModalGate::RunNext);
}

void TModalGate::RunNext()
{
    scheduled_ = false;
    if (pending_.empty())
        return;
    if (QWidget *modal = QApplication::activeModalWidget()) {
        Watch(modal);
        return;
    }
    const std::function<void()> action = std::move(pending_.front());
    pending_.pop_front();
    // The rest is scheduled first, so that an action that throws does not strand it.
    if (!pending_.empty())
        Schedule();
    action();
}

// The modal window is watched until it hides or goes away; then the gate looks again (a
// window may have opened another one, or returned to one below it).
void TModalGate::Watch(QWidget *modal)
{
    if (watched_ == modal)
        return;
    if (watched_)
        watched_->removeEventFilter(this);
    watched_ = modal;
    modal->installEventFilter(this);
    connect(modal, &QObject::destroyed, this, &TModalGate::Schedule, Qt::UniqueConnection);
}

bool TModalGate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watched_ && event->type() == QEvent::Hide) {
        watched_->removeEventFilter(this);
        watched_ = nullptr;
        Schedule();
    }
    return QObject::eventFilter(watched, event);
}
