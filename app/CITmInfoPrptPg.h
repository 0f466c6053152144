#pragma once

#include <QWidget>

#include <functional>

class CItemInfo;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Info" page of the item info sheet: the item's name, part, hours and its memo. The memo
// counts as modified as soon as its field gets the focus.
class CITmInfoPrptPg : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kMemoHint = "You can type here your memo for this item.";

    explicit CITmInfoPrptPg(QWidget* parent = nullptr);

    void setTexts(const CItemInfo& info);
    QString memoText() const;
    void putCaretAtEnd();

    int shownItem = -1;
    bool memoModified = false;

    QPushButton* storeButton;
    QPushButton* closeButton;
    QPushButton* helpButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_name;
    QLineEdit* m_part;
    QLineEdit* m_hoursLeft;
    QLineEdit* m_reducedHours;
    QPlainTextEdit* m_memo;
};
