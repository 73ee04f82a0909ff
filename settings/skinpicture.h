#pragma once
// Pictures the user picks for the Design page.

#include <QImage>
#include <string>

// The skin picture extension, matched without regard to letter case.
extern const char SkinPictureExt[5];

// Loads the BMP picture at path. Throws EInvalidBitmap, with a message naming the file,
// when its name does not end in ".bmp" (any letter case), when it is larger than any
// accepted bitmap, or when its contents are not a valid BMP image; std::runtime_error
// naming the file when it cannot be read. The result is never null.
QImage LoadSkinPicture(const std::string &path);
