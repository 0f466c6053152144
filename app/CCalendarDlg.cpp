#include "app/CCalendarDlg.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CCalendarDlg::CCalendarDlg(const QDate& today, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Calendar"));
    auto* layout = new QVBoxLayout{this};
    m_calendar = new QCalendarWidget{this};
    m_calendar->setSelectedDate(today);
    m_calendar->setFirstDayOfWeek(Qt::Sunday); // the program's weeks run Sunday to Saturday
    layout->addWidget(m_calendar);
    auto* close = new QPushButton{QStringLiteral("Close"), this};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}
