#include "app/CChsDateDlg.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CChsDateDlg::CChsDateDlg(const QDate& today, ShowHelp showHelp, QWidget* parent)
    : CHelpDialog(QStringLiteral("chsDateDlgV.htm"), std::move(showHelp), parent), m_date(today) {
    setWindowTitle(QStringLiteral("Choose a date, please."));
    auto* layout = new QVBoxLayout{this};
    m_picker = new QDateEdit{today, this};
    m_picker->setCalendarPopup(true);
    m_picker->calendarWidget()->setFirstDayOfWeek(Qt::Sunday);
    m_picker->setMinimumDate(QDate(100, 1, 1));
    m_picker->setMaximumDate(QDate(9999, 12, 31));
    m_picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    layout->addWidget(m_picker);
    auto* text = new QLabel{
        QStringLiteral("To set the day, for which to input hours, select drop-down arrow in the "
                       "calendar above and than select a day. "),
        this};
    text->setWordWrap(true);
    layout->addWidget(text);
    const ButtonRow row = makeOkCancelHelpRow(true);
    QPushButton* ok = row.ok;
    QPushButton* cancel = row.cancel;
    layout->addLayout(row.layout);
    connect(m_picker, &QDateEdit::dateChanged, this, [this](const QDate& date) { m_date = date; });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(360);
}
