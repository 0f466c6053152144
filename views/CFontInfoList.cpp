#include "views/CFontInfoList.h"

#include "views/GridFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

CFontInfoMy& CFontInfoList::measured(const QString& face, int points, bool bold, short charset,
                                     const QPaintDevice* device) {
    CFontInfoMy wanted{charset, -1, std::nullopt, bold ? 1 : 0, points, face};
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

const QFontMetrics& CFontInfoList::metrics(const QString& face, int points, bool bold,
                                           short charset, const QPaintDevice* device) {
    return *measured(face, points, bold, charset, device).metrics;
}
