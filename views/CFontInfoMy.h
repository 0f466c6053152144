#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <optional>

// One measured font: its average character width, its metrics, and the widths of the texts
// (the words of names) measured so far, which repeat from row to row.
struct CFontInfoMy {
    short charset = 0;
    int averageWidth = -1; // -1 when measuring failed
    std::optional<QFontMetrics> metrics;
    QHash<QString, int> widths;
    int bold = 0;
    int points = 0;
    QString face;

    bool sameFont(const CFontInfoMy& other) const {
        return face == other.face && points == other.points && bold == other.bold &&
               charset == other.charset;
    }
};
