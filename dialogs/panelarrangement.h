#pragma once
// Where the open dialog's panels stand in the file dialog's grid layout, so that the
// layout keeps them fitted on every resize as the control alignment asks.
//
// The bottom panel takes a new row under the standard controls, starting at the grid's
// left margin (bx); the right panel takes a new column right of them, bx from the
// standard controls and level with their top. A panel that does not stretch keeps its
// design size at the top left of its cell. The vertical gap between the standard
// controls, or the right panel, and the bottom panel is the grid's vertical spacing.

#include "dialogs/controlalign.h"

#include <QSize>

class HostPanel;
class QBoxLayout;
class QGridLayout;

class PanelArrangement
{
public:
    // grid: the file dialog's layout, holding its standard controls only. right, bottom:
    // the panels to place, each already hosting its control, or null for none. The panels
    // and the grid must outlive this object.
    PanelArrangement(QGridLayout &grid, HostPanel *right, HostPanel *bottom);
    PanelArrangement(const PanelArrangement &) = delete;
    PanelArrangement &operator=(const PanelArrangement &) = delete;

    // Puts the panels where align wants them; may be called again with another value.
    void Apply(TOtDialogControlAlign align);

    // bx: the grid's left margin.
    int Bx() const;
    // How much the dialog must grow so the panels fit beside the standard controls as
    // large as before.
    QSize Room() const;

private:
    int HorizontalGap() const;
    void PlaceRight(TOtDialogControlAlign align);
    void PlaceBottom(TOtDialogControlAlign align);

    QGridLayout &grid_;
    HostPanel *right_;
    HostPanel *bottom_;
    int standardRows_;
    int standardColumns_;
    QBoxLayout *rightBox_ = nullptr; // owned by grid_ while placed
};
