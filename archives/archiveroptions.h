#pragma once
// Every switch a caller may set for an archive operation. The options are named after the
// switch letters of the LHA command syntax; the LHA back-end passes each on under its own
// name and the other back-ends translate the few they understand.
//
// A numeric option is a signed byte whose value -1 means unset; a string option is unset
// while it holds UnsetText() (one NUL character), and an empty string is a set value.
// An unset option adds nothing to a command line.

#include <cstdint>
#include <string>
#include <vector>

namespace archives {

using TStringList = std::vector<std::string>;

// The unset marker of string options (and of TArchiveFile's FileName before it is set).
inline std::string UnsetText()
{
    return std::string(1, '\0');
}
inline bool IsUnset(const std::string &text)
{
    return text.size() == 1 && text[0] == '\0';
}

enum class TPackFilter : std::uint8_t { pfArchiver = 0, pfComponent = 1 };

enum class TResFileUse : std::uint8_t { ruOnPack = 0, ruOnUnpack = 1, ruOnRemoveItem = 2 };

// A set of TResFileUse values.
class TResFileUsage
{
public:
    static TResFileUsage All() { return TResFileUsage(0x07); }
    static TResFileUsage None() { return TResFileUsage(0); }

    bool Contains(TResFileUse use) const { return (bits_ & Bit(use)) != 0; }
    TResFileUsage &Include(TResFileUse use)
    {
        bits_ = static_cast<std::uint8_t>(bits_ | Bit(use));
        return *this;
    }
    TResFileUsage &Exclude(TResFileUse use)
    {
        bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(use));
        return *this;
    }
    bool operator==(const TResFileUsage &other) const { return bits_ == other.bits_; }
    bool operator!=(const TResFileUsage &other) const { return bits_ != other.bits_; }

private:
    explicit TResFileUsage(std::uint8_t bits)
        : bits_(bits)
    {
    }
    static std::uint8_t Bit(TResFileUse use)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(use));
    }

    std::uint8_t bits_;
};

// The 58 options in their declaration order. A new object holds the unset values.
struct TArchiverOptions
{
    std::int8_t a = -1, c = -1, e = -1, f = -1, h = -1, i = -1, l = -1, m = -1, n = -1, o = -1,
                p = -1, r = -1, s = -1, t = -1, u = -1;
    std::string w = UnsetText();
    std::int8_t x = -1, y = -1, z = -1, jc = -1, jd = -1, je = -1, jf = -1, jh = -1, ji = -1,
                jm = -1, jn = -1;
    std::string jo = UnsetText(), job = UnsetText();
    std::int8_t jp = -1, jr = -1, jss = -1, jw = -1;
    TStringList jx;
    std::int8_t jyc = -1, jyd = -1, jyk = -1, jyn = -1, jyo = -1;
    std::string jz = UnsetText();
    std::int8_t ga = -1, gd = -1, ge = -1, gf = -1, gj = -1, gm = -1, gn = -1, go = -1, gp = -1;
    std::string gr = UnsetText();
    std::int8_t gs = -1, gu = -1, gw = -1;
    // Put into every command line unchanged: UserOptions before the archive name,
    // UserFileList at the very end.
    std::string UserOptions;
    std::string UserFileList;
    // Read by no operation of this layer; kept for callers that store it.
    TPackFilter PackFilter = TPackFilter::pfArchiver;
    // The response file of TArchiveFile and the operations that pass their file list
    // through it.
    std::string ResFileName;
    TResFileUsage ResFileUsage = TResFileUsage::All();

    // Gives every option its unset value.
    void Reset();
    // Copies every option, the jx list and ResFileUsage included, into dest.
    void AssignTo(TArchiverOptions &dest) const;
};

} // namespace archives
