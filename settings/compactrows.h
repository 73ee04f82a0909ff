#pragma once
// Lists of the settings window draw their rows 12 pixels high, as the window is laid out,
// with check boxes that fit inside such a row.

class QListWidget;

constexpr int CompactRowHeight = 12;

// Gives list rows CompactRowHeight pixels high, or the height of the list's font where its
// glyphs need more (the gothic faces found on Linux are a pixel or two taller than the one
// the window was drawn for, and would lose their underscores), and check boxes that fit.
void UseCompactRows(QListWidget *list);
