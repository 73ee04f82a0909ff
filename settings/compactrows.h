#pragma once
// Lists of the settings window draw their rows 12 pixels high, as the window is laid out;
// check boxes shrink to fit inside such a row.

class QListWidget;

constexpr int CompactRowHeight = 12;

// Gives list rows CompactRowHeight pixels high and check boxes that fit in them.
void UseCompactRows(QListWidget *list);
