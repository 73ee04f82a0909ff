#pragma once
// The play list window: a small borderless window showing the play queue, created hidden
// at start-up and shown and hidden from the bar.

#include "playlist/playqueue.h"

#include <QWidget>
#include <memory>

namespace Ui {
class Tview_form;
}

class Tview_form : public QWidget
{
    Q_OBJECT
public:
    explicit Tview_form(QWidget *parent = nullptr);
    ~Tview_form() override;

    // Paints the four list buttons from the skin and the caption strip from its column.
    void DrawButtons();
    // Applies the design colours: list background and text, control strip background.
    void ApplyColors();

    // The play queue this window owns and shows.
    PlayQueue &Queue() { return queue_; }
    const PlayQueue &Queue() const { return queue_; }

private:
    std::unique_ptr<Ui::Tview_form> ui;
    PlayQueue queue_;
};
