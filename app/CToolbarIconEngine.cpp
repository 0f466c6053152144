#include "app/CToolbarIconEngine.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

CToolbarImages::Look lookOf(QIcon::Mode mode) {
    switch (mode) {
    case QIcon::Active:
        return CToolbarImages::Hot;
    case QIcon::Disabled:
        return CToolbarImages::Disabled;
    default:
        return CToolbarImages::Normal;
    }
}

} // namespace

qreal CToolbarIconEngine::fittedRatio(const QSize& size) {
    const qreal across = static_cast<qreal>(size.width()) / CToolbarImages::kWidth;
    const qreal down = static_cast<qreal>(size.height()) / CToolbarImages::kHeight;
    return std::min(across, down);
}

QSize CToolbarIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const qreal ratio = fittedRatio(size);
    return QSize{qRound(CToolbarImages::kWidth * ratio), qRound(CToolbarImages::kHeight * ratio)};
}

// The size is in the device's pixels, as the icon asks for it.
QPixmap CToolbarIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                                         qreal scale) {
    const qreal ratio = fittedRatio(size);
    if (ratio <= 0)
        return {};
    const CToolbarImages::Look look = lookOf(mode);
    QPixmap& drawn = m_drawn[{ratio, look}];
    if (drawn.isNull())
        drawn = CToolbarImages::image(m_button, look, ratio);
    QPixmap shown = drawn;
    shown.setDevicePixelRatio(scale);
    return shown;
}

QPixmap CToolbarIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1);
}

void CToolbarIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                               QIcon::State state) {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    const QPixmap shown = scaledPixmap(rect.size() * scale, mode, state, scale);
    const QSize fitted = shown.deviceIndependentSize().toSize();
    // Centred in the rectangle, as an icon of fixed pictures is.
    painter->drawPixmap(QRect{rect.topLeft() + QPoint{(rect.width() - fitted.width()) / 2,
                                                      (rect.height() - fitted.height()) / 2},
                              fitted},
                        shown);
}
