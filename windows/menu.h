#pragma once
// The player's pop-up menu: a borderless list of six entries opened under the bar window.
// The entry under the pointer is highlighted as it moves; a press anywhere in the list
// closes the menu at once and leaves the choice in Tag(). A click outside the menu,
// Escape, or the program losing the focus closes it without a choice.

#include <QDialog>
#include <QRect>
#include <memory>
#include <optional>

namespace Ui {
class MenuWindow;
}

// The entries, in list order; a left press on an entry makes its index the choice.
enum TMenuChoice : int {
    mcNone = -1, // another button was pressed, or the menu closed without a press
    mcListWindow = 0,
    mcSettingWindow = 1,
    mcAbout = 2,
    mcExit = 3,
    mcSeparator = 4,
    mcCancel = 5,
};

class TMenuWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ItemHeight = 12;

    explicit TMenuWindow(QWidget *parent = nullptr);
    ~TMenuWindow() override;

    // The bar window's frame geometry: at show time the menu's top edge goes on the bar's
    // bottom edge and its left edge on the bar's left edge. Without it the menu opens
    // where the window system puts it.
    void PlaceUnder(const QRect &barFrame);

    // The choice: an entry index after a left press on that entry, mcNone otherwise.
    int Tag() const { return tag_; }

    // Creates the menu as a child of bar, placed under it, runs it modally, frees it and
    // returns its choice.
    static int Popup(QWidget *bar);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void ListBox1MouseMove(const QPoint &pos);
    void ListBox1MouseDown(Qt::MouseButton button, const QPoint &pos);
    void ApplicationStateChanged(Qt::ApplicationState state);

    std::unique_ptr<Ui::MenuWindow> ui;
    std::optional<QRect> barFrame_;
    int tag_ = mcNone;
};
