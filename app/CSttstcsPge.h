#pragma once

#include <QWidget>

class CItemInfo;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Statistics" page: the actual time part averaged over the chosen period against the plan.
class CSttstcsPge : public QWidget {
    Q_OBJECT

public:
    explicit CSttstcsPge(QWidget* parent = nullptr);
    void setTexts(const CItemInfo& info);
    QString caption() const;
    QString actual() const;
    QString ratio() const;

    QPushButton* closeButton;
    QPushButton* helpButton;

private:
    QLineEdit* m_name;
    QLabel* m_caption;
    QLineEdit* m_actual;
    QLineEdit* m_planned;
    QLineEdit* m_ratio;
};
