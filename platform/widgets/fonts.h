#pragma once
// The fonts of the program's windows.

#include <QFont>

// The Japanese proportional gothic the windows are designed in, pixelHeight pixels high:
// "ＭＳ Ｐゴシック" where installed, else IPAPGothic, else Noto Sans CJK JP, else the
// system's default sans-serif face.
QFont UiFont(int pixelHeight = 12);

// The small bitmap-style face for tiny labels such as "LIST" (8 pixels high).
QFont SmallFont(int pixelHeight = 8);
