#pragma once

#include <QString>

#include <cstdint>
#include <tuple>

// How one cell looks: font, alignment, fill and borders. Colours are 0x00BBGGRR values, as the
// panes define them. Cells share formats through the cell store's table.
struct CCellFormat {
    enum HorizontalAlign : std::int16_t {
        General = 1,
        Left = 2,
        Centre = 3,
        Right = 4,
        CentreAcross = 7
    };

    struct Border {
        std::int16_t style = 0; // 0 none, 1 thin
        std::uint32_t colour = 0;
        bool operator==(const Border&) const = default;
        auto key() const { return std::tie(style, colour); }
    };

    QString face{QStringLiteral("Courier New")};
    double points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t textColour = 0x000000;
    std::int16_t horizontal = General;
    bool wrap = false;
    std::int16_t vertical = 2; // 1 top, 2 centre, 3 bottom
    bool filled = false;
    std::uint32_t fillColour = 0xFFFFFF;
    Border left, right, top, bottom;

    bool operator==(const CCellFormat&) const = default;
    bool operator<(const CCellFormat& o) const {
        return std::tie(face, points, bold, italic, underline, strikeOut, textColour, horizontal,
                        wrap, vertical, filled, fillColour, left.style, left.colour, right.style,
                        right.colour, top.style, top.colour, bottom.style, bottom.colour) <
               std::tie(o.face, o.points, o.bold, o.italic, o.underline, o.strikeOut, o.textColour,
                        o.horizontal, o.wrap, o.vertical, o.filled, o.fillColour, o.left.style,
                        o.left.colour, o.right.style, o.right.colour, o.top.style, o.top.colour,
                        o.bottom.style, o.bottom.colour);
    }
};
