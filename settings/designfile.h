#pragma once
// Design files (".mbd" in the "skin" folders: the user's own and the program's): a design's
// three colours and its skin bitmap.
//
// Layout, numbers little-endian:
//   0  20 bytes  "Sono Lux Design File" (no length byte, no terminator)
//   20  4 bytes  back colour      (0x00BBGGRR)
//   24  4 bytes  active colour
//   28  4 bytes  no-active colour
//   32  rest     the skin as a complete BMP file image; nothing at all for no skin

#include "app/design.h"
#include "bmpimage.h"

#include <QImage>
#include <stdexcept>
#include <string>

// The 20 bytes every design file begins with.
extern const char DesignSignature[21];
// The extension of design files.
extern const char DesignFileExt[5];

// Raised when a design file cannot be opened or ends before its colours or its bitmap
// header are complete. The message names the file.
class EDesignReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Raised for a name that cannot become a design file in the skin folder.
class EDesignNameError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TDesignColor { dcBack, dcActive, dcNoActive };

// What a design file is read into: the program's design values, or the settings window's
// Design page (three colour panels and a picture).
class TDesignTarget
{
public:
    virtual ~TDesignTarget() = default;
    // Called once per colour, in the order back, active, no-active, as each is read.
    virtual void SetColor(TDesignColor which, TColor color) = 0;
    // Called last, with a null image when the file holds no bitmap.
    virtual void SetBitmap(const QImage &bitmap) = 0;
};

// The program's design values BackColor, ActiveColor, NoActiveColor and SkinBitmap.
class TProgramDesignTarget final : public TDesignTarget
{
public:
    void SetColor(TDesignColor which, TColor color) override;
    void SetBitmap(const QImage &bitmap) override;
};

// Reads the design file at path into target:
// - a file whose first 20 bytes are not exactly DesignSignature (case-sensitive) changes
//   nothing and reports nothing;
// - otherwise each colour is handed to target as soon as it has been read, so colours read
//   before a failure stay applied;
// - the bitmap is handed over only when it was read whole; its size is not checked.
// Throws EDesignReadError when the file cannot be opened or read, or ends before offset 32
// or within the 14-byte bitmap file header; EInvalidBitmap (message naming the file) when
// the bytes from offset 32 are not a valid BMP image.
void ReadDesign(const std::string &path, TDesignTarget &target);

// ReadDesign into the program's design values.
void ReadDesignFile(const std::string &path);

// Writes a design file: signature, the three colours as they are (a non-zero top byte is
// kept), then picture as a BMP file image at its own colour depth, or nothing when picture
// is null. The file is replaced atomically: on any failure (std::runtime_error naming the
// file) an existing file of that name is left as it was.
void WriteDesignFile(const std::string &path, TColor back, TColor active, TColor noActive,
                     const QImage &picture);

// The folder the user's designs are saved in: DataFolder + "skin/" (the program's own
// "skin/" when it is portable).
std::string UserSkinFolder();

// The design file name: the user's own when there is one, else the program's.
std::string DesignFilePath(const std::string &name);

// Where "Design Save" writes the design the user named with answer: UserSkinFolder() +
// answer with its extension (from its last dot) removed + ".mbd", so "night", "night.txt"
// and "night.mbd" all give "night.mbd". Throws EDesignNameError for an empty answer and for
// one holding "/" (which would leave the skin folder) or a NUL byte.
std::string DesignSavePath(const std::string &answer);
