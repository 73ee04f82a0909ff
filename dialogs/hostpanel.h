#pragma once
// One side's panel of the open dialog. While the dialog is open it holds a control that
// belongs to another form, at its top left and sized to the panel; afterwards it gives
// the control back to that form.

#include <QFrame>
#include <QPointer>

class HostPanel : public QFrame
{
    Q_OBJECT
public:
    // A hidden, borderless panel without a parent, named name.
    explicit HostPanel(const QString &name);

    // Takes control in: remembers its parent and geometry, makes this panel its parent,
    // puts it at 0,0 and shows it. The panel's size hint and minimum size become the
    // control's size at this moment (its design size). The panel itself stays hidden
    // until the caller shows it. control must not be null.
    void Host(QWidget *control);

    // Gives the control back: hidden, in its former parent, at its former geometry. A
    // control whose former parent has been destroyed in the meantime is destroyed as
    // well, as it would have been with its parent. Then hides the panel and takes it out
    // of whatever window holds it. Does nothing when nothing is hosted.
    void GiveBack();

    // True from Host until GiveBack, even if the hosted control has been destroyed.
    bool IsHosting() const { return hosting_; }
    // The hosted control; null when there is none or it has been destroyed.
    QWidget *Hosted() const { return control_; }
    // The design size of the hosted control.
    QSize DesignSize() const { return designSize_; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QWidget> control_;
    QPointer<QWidget> home_;
    bool hadHome_ = false;
    QRect homeGeometry_;
    QSize designSize_;
    bool hosting_ = false;
};
