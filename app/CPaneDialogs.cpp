#include "app/CPaneDialogs.h"

#include "app/CWindowPlacement.h"

#include "app/CActvtOrDvsnChsDlg.h"
#include "app/CAdjsTmPrtChsDlg.h"
#include "app/CAdjsTmPrtDlg.h"
#include "app/CHistoryChart.h"
#include "app/CItmInfoPrptSht.h"
#include "app/CMainFrame.h"
#include "app/CMvItmDlg.h"
#include "app/COvrcmplctdStrctWnngDlg.h"
#include "app/CTimerControl.h"
#include "model/CAppCore.h"
#include "model/CHrplDoc.h"
#include "model/CStatistics.h"
#include "views/CHrplView.h"
#include "views/CVCF1.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>

namespace {

QSize screenSizeOf(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1280, 1024);
}

} // namespace

CPaneDialogs::CPaneDialogs(CMainFrame& frame, CHrplView& view, CHrplDoc& document,
                           const CAppCore& core, const ShowHelp& help)
    : m_frame(frame), m_view(view), m_document(document), m_help(help), m_move(view.input(), *this),
      m_transfer(view.input(), *this) {
    createMoveDialog();
    createAdjustDialog(core);
}

void CPaneDialogs::createMoveDialog() {
    m_moveDialog =
        new CMvItmDlg{[this] { m_move.perform(); }, [this] { m_move.forget(); }, m_help, &m_frame};
}

void CPaneDialogs::createAdjustDialog(const CAppCore& core) {
    CAdjsTmPrtDlg::Requests requests;
    requests.transfer = [this](double amount) { m_transfer.take(amount); };
    requests.applyRequested = [this](double part) { m_transfer.setReceivingPart(part); };
    requests.forgetPair = [this] { m_transfer.forget(); };
    requests.showHelp = m_help;
    requests.decimalHours = [&core] { return core.decimalHours(); };
    const CQlnConfig& config = core.config();
    m_adjustDialog =
        new CAdjsTmPrtDlg{{config.hoursPerDay, config.daysPerWeek, config.daysPerMonth},
                          core.library(),
                          core.messages(),
                          requests,
                          &m_frame};
}

void CPaneDialogs::place(QWidget* dialog) const {
    dialog->adjustSize();
    dialog->move(m_view.input().modelessDialogPosition(dialog->size(), screenSizeOf(&m_frame)));
    CWindowPlacement::keepOnScreen(*dialog);
}

CItemInfo CPaneDialogs::itemInfo(std::uint16_t item) const {
    CStatistics statistics{m_document.plan()};
    statistics.computeAveragedParts();
    return statistics.fillItemInfo(item);
}

void CPaneDialogs::showItemInfo(std::uint16_t item, bool modal) {
    if (!m_sheet)
        m_sheet = new CItmInfoPrptSht{m_document.plan(), m_help, &m_frame};
    m_sheet->historyPage()->setArchiveOf(&m_document);
    m_sheet->fill(itemInfo(item), item);
    m_sheet->setModeless(!modal);
    m_sheet->setAttribute(Qt::WA_ShowWithoutActivating, !modal);
    if (modal) {
        m_sheet->exec();
        return;
    }
    placeSheetBeside();
    // Shown beside, not in front: the keys stay with the activities pane.
    m_sheet->show();
    m_view.grid(CHrplView::Pane::Activities)->setFocus();
}

// Its top at the view's top, its right edge at the input pane's right edge, and never left of
// the view.
void CPaneDialogs::placeSheetBeside() {
    CVCF1* input = m_view.grid(CHrplView::Pane::Input);
    const int right = input->mapToGlobal(QPoint(input->width(), 0)).x();
    const QPoint viewTop = m_view.mapToGlobal(QPoint(0, 0));
    m_sheet->move(std::max(viewTop.x(), right - m_sheet->frameGeometry().width()), viewTop.y());
    CWindowPlacement::keepOnScreen(*m_sheet);
}

void CPaneDialogs::showDivisionsPane(bool shown) {
    m_frame.showDivisionsWindow(shown);
}

void CPaneDialogs::followSelection(std::uint16_t item) {
    if (!m_sheet || !m_sheet->isVisible())
        return;
    m_sheet->refill(itemInfo(item), item);
}

CInputPaneHost::StructureChoice CPaneDialogs::warnOvercomplicated(const QString& text) {
    COvrcmplctdStrctWnngDlg warning{text, m_help, &m_frame};
    const int result = warning.exec();
    return result == COvrcmplctdStrctWnngDlg::kInRoot     ? StructureChoice::InRoot
           : result == COvrcmplctdStrctWnngDlg::kAsChosen ? StructureChoice::AsChosen
                                                          : StructureChoice::Cancel;
}

CInputPaneHost::Adjustment CPaneDialogs::chooseAdjustment() {
    CAdjsTmPrtChsDlg chooser{m_help, &m_frame};
    chooser.exec();
    switch (chooser.choice()) {
    case 0:
        return Adjustment::RecalculateAll;
    case 1:
        return Adjustment::DiminishOthers;
    default:
        return Adjustment::Cancel;
    }
}

void CPaneDialogs::openAdjustDialog(int item, double wanted, double others, int unit) {
    m_transfer.begin(item);
    const CActivityItem* target = m_document.plan().findItem(item);
    m_adjustDialog->openFor(target ? QString::fromStdString(m_document.plan().fullName(*target))
                                   : QString(),
                            wanted, others, unit);
    place(m_adjustDialog);
    m_adjustDialog->show();
}

void CPaneDialogs::showGiver(const QString& name, double part) {
    m_adjustDialog->setDonor(name, part);
}

void CPaneDialogs::showTransferred(double giverPart, double others) {
    m_adjustDialog->setDonorPartAndOthers(giverPart, others);
}

void CPaneDialogs::openMoveDialog(const QString& itemName) {
    m_moveDialog->openFor(itemName);
    place(m_moveDialog);
    m_view.grid(CHrplView::Pane::Input)->setFocus();
}

void CPaneDialogs::showMoveDestination(const QString& destinationName) {
    m_moveDialog->setDestination(destinationName);
}

CViewHost::InsertKind CPaneDialogs::askInsertKind() {
    CActvtOrDvsnChsDlg chooser{m_help, &m_frame};
    const int result = chooser.exec();
    return result == QDialog::Accepted               ? InsertKind::Activity
           : result == CActvtOrDvsnChsDlg::kDivision ? InsertKind::Division
                                                     : InsertKind::Cancel;
}

bool CPaneDialogs::moveDialogOpen() const {
    return m_moveDialog->isOpen();
}

bool CPaneDialogs::adjustDialogOpen() const {
    return !m_adjustDialog->isClosed() && m_adjustDialog->isVisible();
}

void CPaneDialogs::showSheetBeside() {
    int row = 0;
    int column = 0;
    m_view.grid(CHrplView::Pane::Activities)->activeCell(row, column);
    const auto record = m_document.activityRows.find(row - CListViewOfActivities::kTitleRows);
    if (record != m_document.activityRows.end())
        showItemInfo(record->second.itemId(), false);
}

void CPaneDialogs::showHistory(std::uint16_t item) {
    showItemInfo(item, false);
    m_sheet->tabs()->setCurrentIndex(CItmInfoPrptSht::kHistoryPage);
}

void CPaneDialogs::refreshCharts() {
    if (m_sheet && m_sheet->isVisible())
        m_sheet->refreshHistory();
}

bool CPaneDialogs::timerRunning() const {
    return m_frame.timer().running();
}

void CPaneDialogs::toggleTimer(std::int32_t itemId) {
    m_frame.timer().toggle(itemId);
}

void CPaneDialogs::showActiveDay(const CMyStringDate& day) {
    m_frame.days().showActiveDay(day);
}

// Another pane was activated: a memo typed and not stored is asked about, as the sheet's own
// closing asks.
void CPaneDialogs::closeSheet() {
    if (m_sheet && m_sheet->isVisible())
        m_sheet->closeFromInfoPage();
}

void CPaneDialogs::inputSelectionMoved() {
    if (moveDialogOpen())
        m_move.pickDestination();
    else if (adjustDialogOpen())
        m_transfer.pickGiver();
}
