#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <array>
#include <optional>

// One measured font: its average character width, its metrics, the advances of the Latin-1
// characters met so far, and the widths of other texts measured whole.
struct CFontInfoMy {
    short charset = 0;
    int averageWidth = -1; // -1 when measuring failed
    std::optional<QFontMetricsF> metrics;
    std::array<qreal, 256> advances{}; // 0 until measured
    QHash<QString, int> widths;
    int bold = 0;
    int points = 0;
    QString face;

    bool sameFont(const CFontInfoMy& other) const {
        return face == other.face && points == other.points && bold == other.bold &&
               charset == other.charset;
    }
};
