#pragma once
// Drives a window that is about to run modally: once its modal run has started, act is
// called with it (the active pop-up, else the active modal window). When none is open,
// the test fails and every visible dialog is closed so that the run never blocks.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

inline void WhenOpen(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget *open = QApplication::activePopupWidget();
        if (!open)
            open = QApplication::activeModalWidget();
        if (open) {
            act(open);
            return;
        }
        ADD_FAILURE() << "no modal window is open";
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
                dialog->reject();
    });
}
