#include "hostpanel.h"

#include <QResizeEvent>

HostPanel::HostPanel(const QString &name)
{
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    hide();
}

void HostPanel::Host(QWidget *control)
{
    control_ = control;
    home_ = control->parentWidget();
    hadHome_ = home_ != nullptr;
    homeGeometry_ = control->geometry();
    designSize_ = control->size();
    hosting_ = true;

    setMinimumSize(designSize_);
    resize(designSize_);
    control->setParent(this);
    control->setGeometry(rect());
    control->show();
    updateGeometry();
}

void HostPanel::GiveBack()
{
    if (!hosting_)
        return;
    hosting_ = false;
    hide();
    if (control_) {
        control_->hide();
        if (hadHome_ && !home_) {
            control_->deleteLater();
        } else {
            control_->setParent(home_);
            control_->setGeometry(homeGeometry_);
            control_->hide();
        }
    }
    control_.clear();
    home_.clear();
    setParent(nullptr);
}

QSize HostPanel::sizeHint() const
{
    return hosting_ ? designSize_ : QFrame::sizeHint();
}

void HostPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (hosting_ && control_)
        control_->setGeometry(QRect(QPoint(0, 0), event->size()));
}
