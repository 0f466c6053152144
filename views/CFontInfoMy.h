#pragma once

#include <QFontMetrics>
#include <QString>

#include <optional>

// One measured font: its average character width and its metrics for exact text widths.
struct CFontInfoMy {
    short charset = 0;
    int averageWidth = -1; // -1 when measuring failed
    std::optional<QFontMetrics> metrics;
    int bold = 0;
    int points = 0;
    QString face;

    bool sameFont(const CFontInfoMy& other) const {
        return face == other.face && points == other.points && bold == other.bold &&
               charset == other.charset;
    }
};
