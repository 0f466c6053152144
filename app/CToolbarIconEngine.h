#pragma once

#include "app/CToolbarImages.h"

#include <QIconEngine>

#include <map>
#include <tuple>

// A toolbar picture drawn when a size, look and scale are first asked for, and kept: the
// window's first paint draws only the pictures it shows.
class CToolbarIconEngine : public QIconEngine {
public:
    explicit CToolbarIconEngine(CToolbarImages::Button button) : m_button(button) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    // The picture keeps its shape: as large as fits in the size.
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override { return new CToolbarIconEngine(m_button); }

private:
    // How many of the size's pixels a pixel of the picture's own size takes, as large as fits.
    static qreal fittedRatio(const QSize& size);

    CToolbarImages::Button m_button;
    std::map<std::tuple<qreal, int>, QPixmap> m_drawn; // by ratio and look
};
