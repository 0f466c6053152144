#include "app/CMessageBar.h"

#include <QTimer>

CMessageBar::CMessageBar(QWidget* parent) : QLabel(parent), m_noticeEnd(new QTimer{this}) {
    m_noticeEnd->setSingleShot(true);
    m_noticeEnd->setInterval(kNoticeMs);
    connect(m_noticeEnd, &QTimer::timeout, this, [this] { showText(m_standing); });
}

void CMessageBar::setStanding(const QString& text) {
    m_standing = text;
    if (!m_noticeEnd->isActive())
        showText(text);
}

void CMessageBar::showNotice(const QString& text) {
    m_noticeEnd->start();
    showText(text);
}

void CMessageBar::showText(const QString& text) {
    setText(text);
    repaint();
}
