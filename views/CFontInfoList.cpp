#include "views/CFontInfoList.h"

#include "views/GridFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

CFontInfoMy& CFontInfoList::measured(const QString& face, int points, bool bold, short charset,
                                     const QPaintDevice* device) {
    CFontInfoMy wanted{charset, -1, std::nullopt, {}, {}, bold ? 1 : 0, points, face};
    for (CFontInfoMy& known : m_fonts)
        if (known.sameFont(wanted))
            return known;
    QFont font = gridFont(face, points);
    font.setBold(bold);
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    wanted.averageWidth = metrics.averageCharWidth() > 0 ? metrics.averageCharWidth() : -1;
    wanted.metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    return m_fonts.emplace_back(std::move(wanted));
}

int CFontInfoList::averageWidth(const QString& face, int points, bool bold, short charset,
                                const QPaintDevice* device) {
    return measured(face, points, bold, charset, device).averageWidth;
}

// Latin-1 texts add up their characters' advances, as a line lays them out (kerning, which
// mostly narrows such text, aside): names are measured by the thousand at start-up, and shaping
// each would cost more than the rest of the fitting. Other texts are measured whole.
int CFontInfoList::textWidth(const QString& text, const QString& face, int points, bool bold,
                             short charset, const QPaintDevice* device) {
    CFontInfoMy& font = measured(face, points, bold, charset, device);
    qreal width = 0;
    for (const QChar c : text) {
        if (c.unicode() >= font.advances.size())
            return shapedWidth(font, text);
        qreal& advance = font.advances[c.unicode()];
        if (advance <= 0)
            advance = std::max<qreal>(font.metrics->horizontalAdvance(c), 1e-6);
        width += advance;
    }
    return static_cast<int>(std::ceil(width));
}

int CFontInfoList::shapedWidth(CFontInfoMy& font, const QString& text) {
    const auto known = font.widths.constFind(text);
    if (known != font.widths.constEnd())
        return *known;
    constexpr qsizetype kMostKept = 100000; // names of a huge plan do not grow it for ever
    if (font.widths.size() >= kMostKept)
        font.widths.clear();
    const int width = static_cast<int>(std::ceil(font.metrics->horizontalAdvance(text)));
    font.widths.insert(text, width);
    return width;
}
