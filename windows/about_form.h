#pragma once
// The about window: the program's name and version, the support lines and the optional
// outside libraries found at start-up, on a borderless always-on-top panel centred on
// the screen. A click on the text closes it.

#include "app/appstate.h"

#include <QDialog>
#include <array>
#include <memory>
#include <string>

namespace Ui {
class about;
}

// The about text for the given start-up flags: the fixed lines, each followed by a line
// feed, then one line per library found in the probe's order (flag 3 gives both RAR
// libraries, "unrar.dll" first). Line feeds only, no carriage returns.
std::string AboutText(const std::array<bool, LibraryCount> &libraryPresent);

class Tabout : public QDialog
{
    Q_OBJECT
public:
    explicit Tabout(QWidget *parent = nullptr);
    ~Tabout() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void Label1Click();

    std::unique_ptr<Ui::about> ui;
    bool label1Pressed_ = false;
};
