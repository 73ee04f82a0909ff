#pragma once
// The message window that lists a report (for example the play list entries whose files have gone)
// in a read-only text box, one report line per line, with an "OK" button.

#include <QDialog>
#include <memory>
#include <stdexcept>
#include <string>

namespace Ui {
class MsgWindow;
}

class TMsgWindow : public QDialog
{
    Q_OBJECT
public:
    explicit TMsgWindow(QWidget *parent = nullptr);
    ~TMsgWindow() override;

    // Appends text as new lines of the text box: CR LF, LF and CR each end a line, and one
    // line break at the very end ends the last line rather than adding an empty one. The
    // bytes are the program's own and are decoded for display.
    void AddText(const std::string &text);
    // Sets the window's caption (decoded like the text).
    void SetCaption(const std::string &caption);

    // Creates the window with caption and text, shows it modally and frees it.
    static void Report(QWidget *parent, const std::string &caption, const std::string &text);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Button1Click();

    std::unique_ptr<Ui::MsgWindow> ui;
    bool empty_ = true;
};
