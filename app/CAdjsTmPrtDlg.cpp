#include "app/CAdjsTmPrtDlg.h"

#include "core/CMessageSink.h"
#include "model/CHelperLibrary.h"
#include "parse/CInputSumEvaluator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

const char* const kUnits[] = {"%", "hours per day", "hours per week", "hours per month"};

// The per-keystroke check reads quietly: a text the evaluator refuses is just put back.
class QuietSink : public CMessageSink {
public:
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
};

} // namespace

CAdjsTmPrtDlg::CAdjsTmPrtDlg(const numberformat::TimeFactors& factors,
                             const CHelperLibrary& library, CMessageSink& messages,
                             Requests requests, QWidget* parent)
    : CHelpDialog(QStringLiteral("adjstTmPrtDlgV.htm"), requests.showHelp, parent),
      m_factors(factors), m_library(library), m_messages(messages),
      m_requests(std::move(requests)) {
    setWindowTitle(QStringLiteral("Adjust time part (choose & transfer)"));
    setModal(false);
    auto* layout = new QGridLayout{this};
    m_units = new QComboBox{this};
    for (const char* unit : kUnits)
        m_units->addItem(QString::fromLatin1(unit));
    m_units->setCurrentIndex(2);
    layout->addWidget(new QLabel{QStringLiteral("In terms of"), this}, 0, 0);
    layout->addWidget(m_units, 0, 1);
    layout->addWidget(new QLabel{QStringLiteral("(select!)"), this}, 0, 2);
    layout->addWidget(new QLabel{QStringLiteral("You would like to have for  "), this}, 1, 0);
    m_targetName = new QLabel{m_target, this};
    layout->addWidget(m_targetName, 1, 1, 1, 2);
    m_requestedField = new QLineEdit{this};
    m_requestedUnit = new QLabel{this};
    layout->addWidget(m_requestedField, 2, 0, 1, 2);
    layout->addWidget(m_requestedUnit, 2, 2);

    QPushButton* subtract = buildTransferPanel();
    layout->addWidget(m_panel, 3, 0, 1, 3);

    const ButtonRow row = makeOkCancelHelpRow(true);
    QPushButton* ok = row.ok;
    QPushButton* cancel = row.cancel;
    layout->addLayout(row.layout, 4, 0, 1, 3);

    connect(m_units, &QComboBox::currentIndexChanged, this, &CAdjsTmPrtDlg::onUnitChanged);
    connect(m_requestedField, &QLineEdit::textEdited, this, &CAdjsTmPrtDlg::onRequestedEdited);
    connect(subtract, &QPushButton::clicked, this, &CAdjsTmPrtDlg::onSubtract);
    connect(ok, &QPushButton::clicked, this, [this] { finish(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(false); });
    // The whole amount is selected when the field gets the focus, ready to be typed over.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == m_amountField)
            QTimer::singleShot(0, m_amountField, &QLineEdit::selectAll);
    });
    m_amountField->setMaximumWidth(140);
    m_requestedField->setMaximumWidth(140);
    layout->setColumnStretch(1, 1);
    setMinimumWidth(560);
    onUnitChanged(2);
}

// The transfer's panel: the excess, the amount to subtract and the donor it comes from.
QPushButton* CAdjsTmPrtDlg::buildTransferPanel() {
    m_panel = new QWidget{this};
    auto* panel = new QGridLayout{m_panel};
    panel->setContentsMargins(0, 0, 0, 0);
    m_excess = new QLabel{m_panel};
    m_excessText = new QLabel{m_panel};
    m_donorPartField = new QLabel{m_panel};
    m_donorTextField = new QLabel{m_panel};
    m_amountField = new QLineEdit{m_panel};
    m_amountUnit = new QLabel{m_panel};
    auto* subtract = new QPushButton{QStringLiteral("Subtract from:"), m_panel};
    panel->addWidget(m_excess, 0, 0);
    panel->addWidget(m_excessText, 0, 1, 1, 2);
    panel->addWidget(m_amountField, 1, 0);
    panel->addWidget(m_amountUnit, 1, 1);
    panel->addWidget(subtract, 1, 2);
    panel->addWidget(m_donorPartField, 2, 0);
    panel->addWidget(m_donorTextField, 2, 1, 1, 2);
    panel->setColumnStretch(1, 1);
    return subtract;
}

double CAdjsTmPrtDlg::valueOf100(int unit) const {
    switch (unit) {
    case 1:
        return m_factors.hoursPerDay;
    case 2:
        return m_factors.hoursPerDay * m_factors.daysPerWeek;
    case 3:
        return m_factors.hoursPerDay * m_factors.daysPerMonth;
    default:
        return 100.0;
    }
}

QString CAdjsTmPrtDlg::inUnit(double percent) const {
    const double value = percent * valueOf100(m_unit) / 100.0;
    return QString::fromStdString(m_unit == 0 ? numberformat::formatDecimal(value, 2)
                                              : numberformat::formatHoursMinutes(value, 2));
}

bool CAdjsTmPrtDlg::readInUnit(const QString& text, double& percent, bool quiet) const {
    QuietSink quietSink;
    const CInputSumEvaluator evaluator{m_library,
                                       quiet ? static_cast<CMessageSink&>(quietSink) : m_messages};
    double value = 0;
    const bool decimal = m_requests.decimalHours && m_requests.decimalHours();
    const auto mode =
        m_unit == 0 ? CInputSumEvaluator::Mode::Plain : CInputSumEvaluator::hoursMode(decimal);
    if (!evaluator.evaluateInputSum(text.toStdString(), value, mode))
        return false;
    percent = value * 100.0 / valueOf100(m_unit);
    return true;
}

void CAdjsTmPrtDlg::openFor(const QString& target, double requested, double others, int unit) {
    m_closed = false;
    // Each opening starts without a giver: the one of a last use is no longer the pane's.
    m_donor = QString::fromLatin1(kNoDonor);
    m_donorPart = 0;
    m_amount = 0;
    m_target = target;
    m_requested = requested;
    m_others = others;
    m_targetName->setText(target);
    m_units->setCurrentIndex(std::clamp(unit, 0, 3));
    onUnitChanged(m_units->currentIndex());
    // The part asked for is what one types first, and Enter there is OK.
    m_requestedField->setFocus();
    m_requestedField->selectAll();
}

void CAdjsTmPrtDlg::setDonor(const QString& name, double part) {
    m_donor = name;
    m_donorPart = part;
    updatePanel();
}

void CAdjsTmPrtDlg::setDonorPartAndOthers(double donorPart, double others) {
    m_donorPart = donorPart;
    m_others = others;
    updatePanel();
}

void CAdjsTmPrtDlg::onUnitChanged(int index) {
    m_unit = index < 0 ? 0 : index;
    const QString unitText = QString::fromLatin1(kUnits[m_unit]);
    m_requestedUnit->setText(unitText);
    m_amountUnit->setText(unitText);
    m_requestedField->setText(inUnit(m_requested));
    updatePanel();
}

void CAdjsTmPrtDlg::onRequestedEdited(const QString& text) {
    double percent = 0;
    if (!readInUnit(text, percent, true)) {
        m_requestedField->setText(inUnit(m_requested));
        return;
    }
    if (percent > 100.0) {
        m_messages.message("Please input a number less or equal " + inUnit(100.0).toStdString() +
                           " because otherwise the time part would have been grater than 100%");
        m_requestedField->setText(inUnit(m_requested));
        return;
    }
    m_requested = percent;
    updatePanel();
}

void CAdjsTmPrtDlg::updatePanel() {
    const double excess = m_requested + m_others - 100.0;
    m_panelShown = excess > 0;
    m_panel->setVisible(m_panelShown);
    if (!m_panelShown)
        return;
    const QString unitText = QString::fromLatin1(kUnits[m_unit]);
    m_excess->setText(inUnit(excess));
    m_excessText->setText(unitText + QStringLiteral(" needs to be subtracted from others"));
    m_donorTextField->setText(unitText + QStringLiteral(" that have item \"") + m_donor +
                              QStringLiteral("\""));
    m_donorPartField->setText(inUnit(m_donorPart));
    m_amountField->setText(inUnit(m_amount));
    adjustSize();
}

void CAdjsTmPrtDlg::onSubtract() {
    if (!m_panelShown)
        return;
    if (m_donor == QString::fromLatin1(kNoDonor)) {
        m_messages.message(kPickDonor);
        return;
    }
    const QString text = m_amountField->text().trimmed();
    if (text.isEmpty())
        return;
    double percent = 0;
    if (!readInUnit(text, percent, false) || percent == 0)
        return;
    const double excess = m_requested + m_others - 100.0;
    percent = std::min({percent, m_donorPart, excess});
    m_amount = percent;
    if (m_requests.transfer)
        m_requests.transfer(percent);
    updatePanel();
}

QString CAdjsTmPrtDlg::requestedText() const {
    return m_requestedField->text();
}

QString CAdjsTmPrtDlg::excessText() const {
    return m_excess->text();
}

QString CAdjsTmPrtDlg::donorText() const {
    return m_donorTextField->text();
}

void CAdjsTmPrtDlg::finish(bool apply) {
    if (apply && m_requests.applyRequested)
        m_requests.applyRequested(m_requested);
    m_closed = true;
    if (m_requests.forgetPair)
        m_requests.forgetPair();
    hide();
}

void CAdjsTmPrtDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        finish(false);
        return;
    }
    CHelpDialog::keyPressEvent(event);
}

void CAdjsTmPrtDlg::closeEvent(QCloseEvent* event) {
    m_closed = true;
    if (m_requests.forgetPair)
        m_requests.forgetPair();
    event->accept();
}
