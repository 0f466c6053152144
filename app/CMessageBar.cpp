#include "app/CMessageBar.h"

#include <QTimer>

CMessageBar::CMessageBar(QWidget* parent, int noticeMs)
    : QLabel(parent), m_noticeEnd(new QTimer{this}) {
    m_noticeEnd->setSingleShot(true);
    m_noticeEnd->setInterval(noticeMs);
    connect(m_noticeEnd, &QTimer::timeout, this, [this] { showText(m_standing); });
}

// A new standing text (a store that failed, or succeeds again) shows at once, over a notice.
void CMessageBar::setStanding(const QString& text) {
    if (text == m_standing && m_noticeEnd->isActive())
        return;
    m_standing = text;
    m_noticeEnd->stop();
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
