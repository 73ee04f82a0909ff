#include "dialogdriver.h"

#include "dialogs/otdialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <gtest/gtest.h>

namespace dialog_testing {

namespace {

QFileDialog *OpenFileDialog()
{
    return qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
}

} // namespace

bool RunWith(TOtOpenDialog &dialog, const std::function<void(QFileDialog &)> &inside)
{
    return RunWith([&dialog] { return dialog.Execute(); }, inside);
}

bool RunWith(const std::function<bool()> &run, const std::function<void(QFileDialog &)> &inside)
{
    bool reached = false;
    QTimer::singleShot(0, [&] {
        QFileDialog *window = OpenFileDialog();
        if (!window)
            return;
        reached = true;
        inside(*window);
        if (window->isVisible())
            window->reject();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the dialog was still open after ten seconds";
        if (QFileDialog *window = OpenFileDialog())
            window->reject();
    });
    watchdog.start(10000);
    const bool result = run();
    EXPECT_TRUE(reached) << "the dialog never showed";
    return result;
}

QAbstractItemView &FileView(QFileDialog &window, int count)
{
    QAbstractItemView *view = window.findChild<QListView *>(QStringLiteral("listView"));
    if (!view || !view->isVisible())
        view = window.findChild<QTreeView *>(QStringLiteral("treeView"));
    const bool listed =
        QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= count; }, 5000);
    EXPECT_TRUE(listed) << "the folder was not listed in time";
    return *view;
}

QStringList ListedNames(QAbstractItemView &view)
{
    QStringList names;
    const int rows = view.model()->rowCount(view.rootIndex());
    for (int row = 0; row < rows; ++row)
        names.append(view.model()->index(row, 0, view.rootIndex()).data().toString());
    return names;
}

void ClickEntry(QAbstractItemView &view, const QString &name, Qt::KeyboardModifiers modifiers)
{
    const int row = static_cast<int>(ListedNames(view).indexOf(name));
    ASSERT_GE(row, 0) << name.toStdString() << " is not listed";
    const QModelIndex index = view.model()->index(row, 0, view.rootIndex());
    view.scrollTo(index);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(index).center());
}

void PressOpen(QFileDialog &window)
{
    auto *buttons = window.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton *open = buttons->button(QDialogButtonBox::Open);
    ASSERT_NE(open, nullptr);
    open->click();
}

void ResizeWindow(QWidget &window, const QSize &size)
{
    window.resize(size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == size; }, 2000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QRect InWindow(const QWidget &widget)
{
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

int StandardBottom(QFileDialog &window)
{
    int bottom = 0;
    for (const char *name : {"fileTypeCombo", "fileNameEdit", "buttonBox"})
        bottom = std::max(bottom, InWindow(*window.findChild<QWidget *>(name)).bottom());
    return bottom;
}

int StandardRight(QFileDialog &window)
{
    return InWindow(*window.findChild<QSplitter *>(QStringLiteral("splitter"))).right();
}

QRect FileListArea(QFileDialog &window)
{
    return InWindow(*window.findChild<QSplitter *>(QStringLiteral("splitter")));
}

} // namespace dialog_testing
