#include "app/CToolbarImages.h"

#include "app/CToolbarIconEngine.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QColor inkOf(CToolbarImages::Look look) {
    switch (look) {
    case CToolbarImages::Hot:
        return QColor(0x1f, 0x78, 0xd1);
    case CToolbarImages::Disabled:
        return QColor(0xa8, 0xa8, 0xa8);
    default:
        return QColor(0x34, 0x4e, 0x6b);
    }
}

// A filled arrow head pointing left or right with its tip at x.
void arrowHead(QPainter& painter, double x, bool left) {
    const double depth = left ? 8 : -8;
    QPainterPath path;
    path.moveTo(x, 8);
    path.lineTo(x + depth, 1.5);
    path.lineTo(x + depth, 14.5);
    path.closeSubpath();
    painter.drawPath(path);
}

void drawDay(QPainter& painter, bool left) {
    arrowHead(painter, left ? 3 : 19, left);
    painter.drawRect(left ? QRectF(11, 6, 8, 4) : QRectF(3, 6, 8, 4));
}

void drawWeek(QPainter& painter, bool left) {
    arrowHead(painter, left ? 2 : 20, left);
    arrowHead(painter, left ? 10 : 12, left);
}

// A division with two items under it, as the divisions window lists them.
void drawTree(QPainter& painter, const QColor& ink) {
    painter.drawRect(QRectF(2, 1.5, 7, 4));
    painter.drawRect(QRectF(10, 6.5, 9, 3));
    painter.drawRect(QRectF(10, 11.5, 9, 3));
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(5.5, 5.5), QPointF(5.5, 13));
    painter.drawLine(QPointF(5.5, 8), QPointF(10, 8));
    painter.drawLine(QPointF(5.5, 13), QPointF(10, 13));
}

void drawCross(QPainter& painter) {
    painter.setPen(QPen(QColor(0xc0, 0x30, 0x30), 2));
    painter.drawLine(QPointF(13, 1), QPointF(20, 5.5));
    painter.drawLine(QPointF(13, 5.5), QPointF(20, 1));
}

// A stopwatch: its face, the button on top and a hand at a quarter past.
void drawStopwatch(QPainter& painter, const QColor& ink) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.6));
    painter.drawEllipse(QPointF(11, 9), 6, 6);
    painter.drawLine(QPointF(11, 9), QPointF(11, 5));
    painter.drawLine(QPointF(11, 9), QPointF(14, 9));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRect(QRectF(9.5, 0.5, 3, 2));
}

// A calendar page with today's mark.
void drawCalendar(QPainter& painter, const QColor& ink) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.4));
    painter.drawRect(QRectF(5, 2.5, 12, 12));
    painter.drawLine(QPointF(5, 6), QPointF(17, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRect(QRectF(12, 9, 3, 3));
}

} // namespace

QPixmap CToolbarImages::image(Button button, Look look, qreal ratio) {
    QPixmap pixmap{qRound(kWidth * ratio), qRound(kHeight * ratio)};
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter{&pixmap};
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = inkOf(look);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    switch (button) {
    case DayBack:
    case DayForward:
        drawDay(painter, button == DayBack);
        break;
    case WeekBack:
    case WeekForward:
        drawWeek(painter, button == WeekBack);
        break;
    case HideDivisions:
        drawTree(painter, ink);
        if (look != Disabled)
            drawCross(painter);
        break;
    case ShowDivisions:
        drawTree(painter, ink);
        break;
    case Timer:
        drawStopwatch(painter, ink);
        break;
    case Today:
        drawCalendar(painter, ink);
        break;
    }
    return pixmap;
}

QIcon CToolbarImages::icon(Button button) {
    return QIcon{new CToolbarIconEngine{button}};
}
