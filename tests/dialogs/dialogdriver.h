#pragma once
// Driving the open dialog in tests: running it without blocking and acting on it as the
// user does.

#include <QRect>
#include <QSize>
#include <QStringList>
#include <functional>
#include <ostream>

class QAbstractItemView;
class QFileDialog;
class QWidget;
class TOtOpenDialog;

namespace dialog_testing {

// Runs dialog.Execute() and calls inside with the open file dialog once it shows. If
// inside leaves the dialog open it is cancelled; a watchdog cancels it after ten seconds
// whatever happens, so a test never hangs. Returns what Execute returned.
bool RunWith(TOtOpenDialog &dialog, const std::function<void(QFileDialog &)> &inside);
// The same around run, which opens the dialog itself (e.g. the player's open command);
// returns what run returned.
bool RunWith(const std::function<bool()> &run, const std::function<void(QFileDialog &)> &inside);

// The file dialog's visible list of files, once it lists at least count entries (the
// listing is read in the background); fails the test on time-out.
QAbstractItemView &FileView(QFileDialog &window, int count);
// The names the list shows, in its order.
QStringList ListedNames(QAbstractItemView &view);
// Clicks the entry named name with the modifiers, as the user does.
void ClickEntry(QAbstractItemView &view, const QString &name, Qt::KeyboardModifiers modifiers = {});
// Presses the Open button.
void PressOpen(QFileDialog &window);
// Resizes the window and waits until its layout has followed.
void ResizeWindow(QWidget &window, const QSize &size);

// A widget's rectangle in its window's coordinates.
QRect InWindow(const QWidget &widget);
// The lowest edge and the rightmost edge (inclusive) of the dialog's standard controls.
int StandardBottom(QFileDialog &window);
int StandardRight(QFileDialog &window);
// The file list's area (the splitter with the side bar and the list).
QRect FileListArea(QFileDialog &window);

} // namespace dialog_testing

// Lets failed expectations show texts as texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
