#include "app/COptnDlg.h"

#include "app/CAppSettings.h"
#include "app/CDesktopIdle.h"
#include "app/CReminders.h"
#include "app/CTimerControl.h"
#include "companion/CQLNECNstrtpInf.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// The choice to show: the entry's own order when both programs start, the stored choice (or
// "above") when this program starts alone, "Do not run" otherwise.
int derivedChoice(int state, int stored) {
    if (state == CQLNECNstrtpInf::BothCompanionFirst || state == CQLNECNstrtpInf::BothProgramFirst)
        return state;
    if (state == CQLNECNstrtpInf::ProgramOnly)
        return stored == 0 || stored == 1 ? stored : 1;
    return CQLNECNstrtpInf::DoNotRun;
}

QTime minuteTime(int minute) {
    return QTime{minute / 60 % 24, minute % 60};
}

int minuteOf(const QTime& time) {
    return time.hour() * 60 + time.minute();
}

} // namespace

COptnDlg::COptnDlg(const Choices& choices, CQLNECNstrtpInf& startup, ShowHelp showHelp,
                   QWidget* parent)
    : CHelpDialog(QStringLiteral("optnDlgV.htm"), std::move(showHelp), parent), m_startup(startup) {
    setWindowTitle(QStringLiteral("Options "));
    m_startup.deleteLegacyRunValue();
    auto* layout = new QVBoxLayout{this};
    auto* pages = new QTabWidget{this};
    auto* general = new QWidget{pages};
    auto* generalLayout = new QVBoxLayout{general};
    generalLayout->addWidget(dayGroup(choices));
    generalLayout->addWidget(hoursGroup(choices));
    generalLayout->addWidget(statisticsGroup(choices));
    generalLayout->addWidget(timerGroup());
    generalLayout->addWidget(startupBox());
    pages->addTab(general, QStringLiteral("General"));
    pages->addTab(remindersPage(), QStringLiteral("Reminders"));
    m_pages = pages;
    layout->addWidget(pages);
    const ButtonRow row = makeOkCancelHelpRow(true);
    QPushButton* ok = row.ok;
    QPushButton* cancel = row.cancel;
    layout->addLayout(row.layout);
    connect(ok, &QPushButton::clicked, this, &COptnDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* COptnDlg::dayGroup(const Choices& choices) {
    auto* dayBox = new QGroupBox{QStringLiteral("Initial active day:"), this};
    auto* dayLayout = new QHBoxLayout{dayBox};
    auto* yesterday = new QRadioButton{QStringLiteral("yesterday"), dayBox};
    auto* today = new QRadioButton{QStringLiteral("today"), dayBox};
    yesterday->setToolTip(
        QStringLiteral("Check if you usually input spent hours in the morning of next day."));
    today->setToolTip(
        QStringLiteral("Check if you usually input spent hours in the evening of the same day."));
    m_days = new QButtonGroup{this};
    m_days->addButton(yesterday, 0);
    m_days->addButton(today, 1);
    dayLayout->addWidget(yesterday);
    dayLayout->addWidget(today);
    (choices.initialActiveDay == 0 ? yesterday : today)->setChecked(true);
    return dayBox;
}

QGroupBox* COptnDlg::hoursGroup(const Choices& choices) {
    auto* hoursBox = new QGroupBox{QStringLiteral("Hours"), this};
    auto* hoursLayout = new QHBoxLayout{hoursBox};
    m_decimal = new QCheckBox{QStringLiteral("Read 1.5 as one and a half hours"), hoursBox};
    m_decimal->setChecked(choices.decimalHours);
    m_decimal->setToolTip(QStringLiteral(
        "Checked, 1.5 is 1:30 and 0.75 is 0:45. Unchecked, the digits after the point are "
        "minutes: 1.5 is 1:50 and 1.30 is 1:30. 4:30 is four and a half hours either way."));
    hoursLayout->addWidget(m_decimal);
    return hoursBox;
}

QGroupBox* COptnDlg::statisticsGroup(const Choices& choices) {
    auto* statistics = new QGroupBox{QStringLiteral("Statistics"), this};
    auto* statisticsLayout = new QHBoxLayout{statistics};
    statisticsLayout->addWidget(new QLabel{QStringLiteral("Average over last"), statistics});
    m_period = new QComboBox{statistics};
    m_period->addItems(
        {QStringLiteral("quarter"), QStringLiteral("year"), QStringLiteral("month")});
    m_period->setCurrentIndex(
        choices.averagingPeriod >= 0 && choices.averagingPeriod <= 2 ? choices.averagingPeriod : 0);
    statisticsLayout->addWidget(m_period);
    statisticsLayout->addStretch();
    return statistics;
}

QGroupBox* COptnDlg::timerGroup() {
    auto* timerBox = new QGroupBox{QStringLiteral("Timer"), this};
    auto* column = new QVBoxLayout{timerBox};
    auto* timerLayout = new QHBoxLayout;
    column->addLayout(timerLayout);
    timerLayout->addWidget(new QLabel{QStringLiteral("Ask about time away after"), timerBox});
    m_idle = new QSpinBox{timerBox};
    m_idle->setRange(0, 480);
    m_idle->setSuffix(QStringLiteral(" min"));
    m_idle->setSpecialValueText(QStringLiteral("never"));
    m_idle->setValue(CAppSettings::readInt(QString::fromLatin1(CTimerControl::kIdleValue),
                                           CTimerControl::kDefaultIdleMinutes));
    m_idle->setToolTip(QStringLiteral(
        "While a timer runs and the computer has had no input for this long, you are asked on "
        "your return whether the time away counts."));
    timerLayout->addWidget(m_idle);
    timerLayout->addStretch();
    // Said here rather than the question never coming without a word.
    if (CDesktopIdle::source() == CDesktopIdle::Source::None) {
        // Lines of its own: a wrapped label is cut short in a dialog laid out before it.
        column->addWidget(new QLabel{QString::fromLatin1(kNoIdleSource), timerBox});
    }
    return timerBox;
}

QWidget* COptnDlg::remindersPage() {
    auto* page = new QWidget{this};
    auto* layout = new QVBoxLayout{page};
    auto* explanation = new QLabel{
        QStringLiteral("Reminders come as desktop notifications. The daily one, and the one when "
                       "you come back to the computer, name the activity furthest behind its "
                       "plan."),
        page};
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    const int daily = CAppSettings::readInt(QString::fromLatin1(CReminders::kTimeValue), -1);
    m_daily = new QCheckBox{QStringLiteral("Remind me every day at"), page};
    m_dailyTime = new QTimeEdit{daily >= 0 ? minuteTime(daily) : QTime{9, 0}, page};
    m_dailyTime->setDisplayFormat(QStringLiteral("HH:mm"));
    layout->addLayout(checkedTime(m_daily, m_dailyTime, daily >= 0));
    const int longTimer = CAppSettings::readInt(QString::fromLatin1(CReminders::kLongTimerValue),
                                                CReminders::kDefaultLongTimerMinutes);
    m_longTimer = new QCheckBox{QStringLiteral("Ask me when a timer has run for"), page};
    m_longTimerTime = new QTimeEdit{
        minuteTime(longTimer > 0 ? longTimer : CReminders::kDefaultLongTimerMinutes), page};
    m_longTimerTime->setDisplayFormat(QStringLiteral("H:mm"));
    m_longTimerTime->setMinimumTime(QTime{0, 5});
    layout->addLayout(checkedTime(m_longTimer, m_longTimerTime, longTimer > 0));
    layout->addStretch();
    return page;
}

QHBoxLayout* COptnDlg::checkedTime(QCheckBox* box, QTimeEdit* time, bool checked) {
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(time);
    row->addStretch();
    box->setChecked(checked);
    time->setEnabled(checked);
    connect(box, &QCheckBox::toggled, time, &QWidget::setEnabled);
    return row;
}

int COptnDlg::dailyReminderMinute() const {
    return m_daily->isChecked() ? minuteOf(m_dailyTime->time()) : -1;
}

int COptnDlg::longTimerMinutes() const {
    return m_longTimer->isChecked() ? minuteOf(m_longTimerTime->time()) : 0;
}

QGroupBox* COptnDlg::startupBox() {
    auto* box = new QGroupBox{QStringLiteral("At computer start up"), this};
    auto* startupLayout = new QVBoxLayout{box};
    m_startupChoices = new QButtonGroup{this};
    const char* const texts[] = {"Run QLN and, if Echonote runs, show QLN below it",
                                 "Run QLN and, if Echonote runs, show QLN above it", "Do not run"};
    for (int choice = 0; choice < 3; ++choice) {
        auto* button = new QRadioButton{QString::fromLatin1(texts[choice]), box};
        m_startupChoices->addButton(button, choice);
        startupLayout->addWidget(button);
    }
    const int stored = CAppSettings::readInt(QString::fromLatin1(kChoiceValue), 1);
    const int shown = derivedChoice(m_startup.readStartupState(), stored);
    if (shown != stored)
        CAppSettings::write(QString::fromLatin1(kChoiceValue), shown);
    m_startupChoices->button(shown)->setChecked(true);
    return box;
}

int COptnDlg::initialActiveDay() const {
    return m_days->checkedId();
}

bool COptnDlg::decimalHours() const {
    return m_decimal->isChecked();
}

int COptnDlg::averagingPeriod() const {
    return m_period->currentIndex();
}

int COptnDlg::idleMinutes() const {
    return m_idle->value();
}

int COptnDlg::startupChoice() const {
    return m_startupChoices->checkedId();
}

void COptnDlg::accept() {
    const int choice = startupChoice();
    CAppSettings::write(QString::fromLatin1(kChoiceValue), choice);
    CAppSettings::write(QString::fromLatin1(CTimerControl::kIdleValue), idleMinutes());
    CAppSettings::write(QString::fromLatin1(CReminders::kTimeValue), dailyReminderMinute());
    CAppSettings::write(QString::fromLatin1(CReminders::kLongTimerValue), longTimerMinutes());
    if (choice >= 0 && choice <= 2)
        m_startup.applyStartupChoice(choice);
    QDialog::accept();
}
