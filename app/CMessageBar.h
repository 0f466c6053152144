#pragma once

#include <QLabel>

class QTimer;

// The message bar's text: a standing one ("OK. For help press F1 key.", or why the plan is not
// stored) and, over it for a while, a notice about what was just typed.
class CMessageBar : public QLabel {
    Q_OBJECT

public:
    static constexpr int kNoticeMs = 15000;

    explicit CMessageBar(QWidget* parent, int noticeMs = kNoticeMs);
    void setStanding(const QString& text);
    void showNotice(const QString& text);

private:
    void showText(const QString& text);

    QString m_standing;
    QTimer* m_noticeEnd;
};
