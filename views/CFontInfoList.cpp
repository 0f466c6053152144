#include "views/CFontInfoList.h"

#include "views/GridFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

CFontInfoMy& CFontInfoList::measured(const QString& face, int points, bool bold, short charset,
                                     const QPaintDevice* device) {
    CFontInfoMy wanted{charset, -1, std::nullopt, {}, bold ? 1 : 0, points, face};
    for (CFontInfoMy& known : m_fonts)
        if (known.sameFont(wanted))
            return known;
    QFont font = gridFont(face, points);
    font.setBold(bold);
    wanted.metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    wanted.averageWidth =
        wanted.metrics->averageCharWidth() > 0 ? wanted.metrics->averageCharWidth() : -1;
    return m_fonts.emplace_back(std::move(wanted));
}

int CFontInfoList::averageWidth(const QString& face, int points, bool bold, short charset,
                                const QPaintDevice* device) {
    return measured(face, points, bold, charset, device).averageWidth;
}

int CFontInfoList::textWidth(const QString& text, const QString& face, int points, bool bold,
                             short charset, const QPaintDevice* device) {
    CFontInfoMy& font = measured(face, points, bold, charset, device);
    const auto known = font.widths.constFind(text);
    if (known != font.widths.constEnd())
        return *known;
    constexpr qsizetype kMostKept = 100000; // names of a huge plan do not grow it for ever
    if (font.widths.size() >= kMostKept)
        font.widths.clear();
    const int width = font.metrics->horizontalAdvance(text);
    font.widths.insert(text, width);
    return width;
}
