#include "glyphs.h"

#include <array>
#include <stdexcept>

namespace {

// Maps side by side, gap columns of "." between them, all of one height.
TGlyph Beside(const std::vector<TGlyph> &parts, int gap)
{
    std::vector<std::string> rows(static_cast<std::size_t>(parts.front().Height()));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const TGlyph &part = parts[i];
        if (part.Height() != parts.front().Height())
            throw std::logic_error("Glyphs set side by side differ in height");
        for (int y = 0; y < part.Height(); ++y) {
            std::string &row = rows[static_cast<std::size_t>(y)];
            if (i > 0)
                row.append(static_cast<std::size_t>(gap), '.');
            for (int x = 0; x < part.Width(); ++x)
                row += part.At(x, y);
        }
    }
    return TGlyph(std::move(rows));
}

const TGlyph &CheckedDigit(const std::array<TGlyph, 10> &digits, int d)
{
    if (d < 0 || d > 9)
        throw std::out_of_range("No figure for " + std::to_string(d));
    return digits[static_cast<std::size_t>(d)];
}

// Seven segments a to g (top, top right, bottom right, bottom, bottom left, top left,
// middle) in a 7 x 11 cell; segments stop short of the corners, as on a display.
TGlyph MakeSegmentDigit(const char *lit)
{
    std::vector<std::string> rows(11, std::string(7, '.'));
    auto segment = [&](char name, int x0, int y0, int x1, int y1) {
        const char mark = std::string(lit).find(name) != std::string::npos ? '#' : '-';
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x)
                rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = mark;
        }
    };
    segment('a', 1, 0, 5, 0);
    segment('b', 6, 1, 6, 4);
    segment('c', 6, 6, 6, 9);
    segment('d', 1, 10, 5, 10);
    segment('e', 0, 6, 0, 9);
    segment('f', 0, 1, 0, 4);
    segment('g', 1, 5, 5, 5);
    return TGlyph(std::move(rows));
}

} // namespace

const TGlyph &FontDigit(int d)
{
    static const std::array<TGlyph, 10> digits = {
        TGlyph{".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
               "##...##", "##...##", "##...##", ".#####."},
        TGlyph{"...##..", "..###..", ".####..", "...##..", "...##..", "...##..", "...##..",
               "...##..", "...##..", "...##..", "...##.."},
        TGlyph{".#####.", "##...##", ".....##", ".....##", ".....##", ".#####.", "##.....",
               "##.....", "##.....", "##.....", "#######"},
        TGlyph{".#####.", "##...##", ".....##", ".....##", ".....##", "..####.", ".....##",
               ".....##", ".....##", "##...##", ".#####."},
        TGlyph{"##...##", "##...##", "##...##", "##...##", "##...##", ".######", ".....##",
               ".....##", ".....##", ".....##", ".....##"},
        TGlyph{"#######", "##.....", "##.....", "##.....", "##.....", "######.", ".....##",
               ".....##", ".....##", "##...##", ".#####."},
        TGlyph{".#####.", "##...##", "##.....", "##.....", "##.....", "######.", "##...##",
               "##...##", "##...##", "##...##", ".#####."},
        TGlyph{"#######", ".....##", ".....##", ".....##", "....##.", "....##.", "...##..",
               "...##..", "...##..", "...##..", "...##.."},
        TGlyph{".#####.", "##...##", "##...##", "##...##", "##...##", ".#####.", "##...##",
               "##...##", "##...##", "##...##", ".#####."},
        TGlyph{".#####.", "##...##", "##...##", "##...##", "##...##", ".######", ".....##",
               ".....##", ".....##", "##...##", ".#####."},
    };
    return CheckedDigit(digits, d);
}

const TGlyph &SegmentDigit(int d)
{
    static const std::array<TGlyph, 10> digits = {
        MakeSegmentDigit("abcdef"), MakeSegmentDigit("bc"),   MakeSegmentDigit("abdeg"),
        MakeSegmentDigit("abcdg"),  MakeSegmentDigit("bcfg"), MakeSegmentDigit("acdfg"),
        MakeSegmentDigit("acdefg"), MakeSegmentDigit("abc"),  MakeSegmentDigit("abcdefg"),
        MakeSegmentDigit("abcdfg"),
    };
    return CheckedDigit(digits, d);
}

const TGlyph &ColonGlyph()
{
    static const TGlyph colon{".", ".", "#", "#", ".", ".", ".", "#", "#", ".", "."};
    return colon;
}

const TGlyph &PlayIconGlyph()
{
    static const TGlyph icon{
        "...........", ".#+........", ".###+......", ".#####+....", ".#######+..", ".#########.",
        ".#######+..", ".#####+....", ".###+......", ".#+........", "...........",
    };
    return icon;
}

const TGlyph &StopIconGlyph()
{
    static const TGlyph icon{
        ".........", ".#######.", ".#######.", ".#######.", ".#######.", ".#######.",
        ".#######.", ".#######.", ".#######.", ".#######.", ".........",
    };
    return icon;
}

const TGlyph &PauseIconGlyph()
{
    static const TGlyph icon{
        "...........", ".###...###.", ".###...###.", ".###...###.", ".###...###.", ".###...###.",
        ".###...###.", ".###...###.", ".###...###.", ".###...###.", "...........",
    };
    return icon;
}

const TGlyph &OpenIconGlyph()
{
    static const TGlyph icon{
        "...........", "...........", "....+#+....", "...+###+...", "..+#####+..", ".+#######+.",
        ".#########.", "...........", ".#########.", ".#########.", "...........",
    };
    return icon;
}

const TGlyph &IdleIconGlyph()
{
    static const TGlyph icon{
        "...........", "....###....", "..+#...#+..", "..#.....#..", ".#.......#.", ".#.......#.",
        ".#.......#.", "..#.....#..", "..+#...#+..", "....###....", "...........",
    };
    return icon;
}

const TGlyph &PlaySymbol()
{
    static const TGlyph symbol{"#+.....", "###+...", "#####+.", "#######",
                               "#######", "#####+.", "###+...", "#+....."};
    return symbol;
}

const TGlyph &PauseSymbol()
{
    static const TGlyph symbol{"###..###", "###..###", "###..###", "###..###",
                               "###..###", "###..###", "###..###", "###..###"};
    return symbol;
}

const TGlyph &StopSymbol()
{
    static const TGlyph symbol{"+######+", "########", "########", "########",
                               "########", "########", "########", "+######+"};
    return symbol;
}

const TGlyph &PreviousSymbol()
{
    static const TGlyph symbol{"##......+#", "##....+###", "##..+#####", "##.#######",
                               "##.#######", "##..+#####", "##....+###", "##......+#"};
    return symbol;
}

const TGlyph &NextSymbol()
{
    static const TGlyph symbol = PreviousSymbol().Mirrored();
    return symbol;
}

const TGlyph &EjectSymbol()
{
    static const TGlyph symbol{"...+##+...", "..+####+..", ".+######+.", "+########+",
                               "##########", "..........", "##########", "##########"};
    return symbol;
}

const TGlyph &CloseSymbol()
{
    static const TGlyph symbol{"#.....#", ".#...#.", "..#.#..", "...#...",
                               "..#.#..", ".#...#.", "#.....#"};
    return symbol;
}

namespace {

const TGlyph &Letter(char c)
{
    static const TGlyph m{"#...#", "##.##", "#.#.#", "#...#", "#...#"};
    static const TGlyph e{"####", "#...", "###.", "#...", "####"};
    static const TGlyph n{"#..#", "##.#", "#.##", "#..#", "#..#"};
    static const TGlyph u{"#..#", "#..#", "#..#", "#..#", ".##."};
    static const TGlyph l{"#...", "#...", "#...", "#...", "####"};
    static const TGlyph i{"#", "#", "#", "#", "#"};
    static const TGlyph s{".###", "#...", ".##.", "...#", "###."};
    static const TGlyph t{"###", ".#.", ".#.", ".#.", ".#."};
    switch (c) {
    case 'M':
        return m;
    case 'E':
        return e;
    case 'N':
        return n;
    case 'U':
        return u;
    case 'L':
        return l;
    case 'I':
        return i;
    case 'S':
        return s;
    case 'T':
        return t;
    default:
        throw std::out_of_range(std::string("No letter ") + c);
    }
}

TGlyph Word(const std::string &text)
{
    std::vector<TGlyph> letters;
    for (const char c : text)
        letters.push_back(Letter(c));
    return Beside(letters, 1);
}

} // namespace

const TGlyph &MenuLabel()
{
    static const TGlyph menuLines{"#######", ".......", "#######", ".......", "#######"};
    static const TGlyph label = Beside({menuLines, Word("MENU")}, 4);
    return label;
}

const TGlyph &LoadSymbol()
{
    static const TGlyph symbol{
        ".####+......", "######+++++.", "############", "############", "############",
        "############", "############", "############", "############", "+##########+",
    };
    return symbol;
}

const TGlyph &SaveSymbol()
{
    static const TGlyph symbol{
        "#########+..", "#.......#.#.", "#.......#..#", "#.......#..#",
        "#########..#", "############", "##........##", "##........##",
        "##........##", "##........##", "##........##", "############",
    };
    return symbol;
}

const TGlyph &DeleteSymbol()
{
    static const TGlyph symbol{
        "#+......+#", "+#+....+#+", ".+#+..+#+.", "..+#++#+..", "...+##+...",
        "...+##+...", "..+#++#+..", ".+#+..+#+.", "+#+....+#+", "#+......+#",
    };
    return symbol;
}

const TGlyph &ClearSymbol()
{
    static const TGlyph symbol{
        "...####...", "##########", "..........", ".########.", ".##.##.##.", ".##.##.##.",
        ".##.##.##.", ".##.##.##.", ".##.##.##.", ".##.##.##.", ".########.", "..######..",
    };
    return symbol;
}
