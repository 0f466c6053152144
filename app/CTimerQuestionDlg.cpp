#include "app/CTimerQuestionDlg.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateTime local(qlnclock::Instant instant) {
    return QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count()).toLocalTime();
}

} // namespace

CTimerQuestionDlg::CTimerQuestionDlg(const CTimerControl::Question& question, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Q&L"));
    auto* layout = new QVBoxLayout{this};
    auto* text = new QLabel{question.text, this};
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* untilRow = new QHBoxLayout;
    QPushButton* until = addButton(kAddUntil, CTimerControl::Choice::AddUntil, question.until);
    m_until = new QDateTimeEdit{local(question.suggested), this};
    m_until->setDisplayFormat(QStringLiteral("ddd, MMM dd yyyy, hh:mm"));
    m_until->setDateTimeRange(local(question.earliest), local(question.latest));
    m_until->setCalendarPopup(true);
    m_until->calendarWidget()->setFirstDayOfWeek(Qt::Sunday);
    m_until->setVisible(question.until);
    untilRow->addWidget(until);
    untilRow->addWidget(m_until, 1);
    layout->addLayout(untilRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* keep = addButton(kKeepRunning, CTimerControl::Choice::Keep, true);
    buttons->addWidget(keep);
    buttons->addWidget(addButton(kStopNow, CTimerControl::Choice::AddUpToNow, question.upToNow));
    buttons->addWidget(addButton(kDiscard, CTimerControl::Choice::Discard, true));
    layout->addLayout(buttons);
    keep->setDefault(true);
    keep->setFocus();
    setMinimumWidth(480);
}

QPushButton* CTimerQuestionDlg::addButton(const char* text, CTimerControl::Choice choice,
                                          bool shown) {
    auto* button = new QPushButton{QString::fromLatin1(text), this};
    button->setObjectName(QString::fromLatin1(text));
    button->setVisible(shown);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, choice] {
        m_answer.choice = choice;
        const QDateTime until = m_until->dateTime();
        m_answer.until = qlnclock::Instant{std::chrono::seconds{until.toSecsSinceEpoch()}};
        accept();
    });
    return button;
}

QPushButton* CTimerQuestionDlg::button(const char* text) const {
    return findChild<QPushButton*>(QString::fromLatin1(text));
}

CTimerControl::Answer CTimerQuestionDlg::ask(const CTimerControl::Question& question,
                                             QWidget* parent) {
    CTimerQuestionDlg dialog{question, parent};
    if (dialog.exec() != QDialog::Accepted)
        return {}; // unanswered: the timer keeps running
    return dialog.answer();
}
