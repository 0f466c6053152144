#include "views/CFontInfoList.h"

#include "views/GridFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

int CFontInfoList::averageWidth(const QString& face, int points, bool bold, short charset,
                                const QPaintDevice* device) {
    CFontInfoMy wanted{charset, -1, bold ? 1 : 0, points, face};
    for (const CFontInfoMy& known : m_fonts)
        if (known.sameFont(wanted))
            return known.averageWidth;
    QFont font = gridFont(face, points);
    font.setBold(bold);
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    wanted.averageWidth = metrics.averageCharWidth() > 0 ? metrics.averageCharWidth() : -1;
    m_fonts.push_back(wanted);
    return wanted.averageWidth;
}
