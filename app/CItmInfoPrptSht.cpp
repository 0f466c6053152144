#include "app/CItmInfoPrptSht.h"

#include "model/CPlanActions.h"

#include "app/CHistoryChart.h"
#include "app/CITmInfoPrptPg.h"
#include "app/CSttstcsPge.h"
#include "core/CMessageSink.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "views/PlanText.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CItmInfoPrptSht::CItmInfoPrptSht(CQLData& plan, std::function<void(const QString&)> showHelp,
                                 QWidget* parent)
    : QDialog(parent), m_plan(plan), m_showHelp(std::move(showHelp)) {
    setWindowTitle(QStringLiteral("Activity Item Info"));
    auto* layout = new QVBoxLayout{this};
    m_tabs = new QTabWidget{this};
    m_info = new CITmInfoPrptPg{m_tabs};
    m_statistics = new CSttstcsPge{m_tabs};
    m_tabs->addTab(m_info, QStringLiteral("Info"));
    m_history = new CHistoryChart{m_tabs};
    m_tabs->addTab(m_statistics, QStringLiteral("Statistics"));
    m_tabs->addTab(m_history, QStringLiteral("History"));
    layout->addWidget(m_tabs);
    connect(m_info->storeButton, &QPushButton::clicked, this, &CItmInfoPrptSht::storeMemo);
    connect(m_info->closeButton, &QPushButton::clicked, this, &CItmInfoPrptSht::closeFromInfoPage);
    connect(m_statistics->closeButton, &QPushButton::clicked, this,
            &CItmInfoPrptSht::closeFromStatisticsPage);
    connect(m_info->helpButton, &QPushButton::clicked, this, [this] { showPageHelp(0); });
    connect(m_statistics->helpButton, &QPushButton::clicked, this, [this] { showPageHelp(1); });
    resize(640, 560);
}

void CItmInfoPrptSht::showPageHelp(int page) const {
    if (m_showHelp)
        m_showHelp(page == 0 ? QStringLiteral("actvtInfoPtptPgDlgV.htm")
                             : QStringLiteral("ststcsPgDlgV.htm"));
}

void CItmInfoPrptSht::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showPageHelp(m_tabs->currentIndex());
        return;
    }
    QDialog::keyPressEvent(event);
}

void CItmInfoPrptSht::copy(const CItemInfo& info, int item) {
    m_info->setTexts(info);
    m_statistics->setTexts(info);
    m_info->shownItem = item;
    m_history->show(m_plan, item);
}

void CItmInfoPrptSht::refreshHistory() {
    m_history->show(m_plan, m_info->shownItem);
}

void CItmInfoPrptSht::fill(const CItemInfo& info, int item) {
    copy(info, item);
    m_info->memoModified = false;
}

void CItmInfoPrptSht::refill(const CItemInfo& info, int item) {
    if (m_info->memoModified && m_plan.app().messages().askYesNo(kStoreQuestion))
        storeMemo();
    m_info->memoModified = false;
    copy(info, item);
}

void CItmInfoPrptSht::storeMemo() {
    const QString memo = m_info->memoText().trimmed();
    // An empty memo is not stored; a memo for an item that is gone is not stored either.
    if (!memo.isEmpty() && m_info->shownItem >= 0) {
        CPlanActions{m_plan}.storeMemo(m_info->shownItem, plantext::fromDisplay(memo));
    }
    m_info->memoModified = false;
    m_info->putCaretAtEnd();
}

void CItmInfoPrptSht::closeFromInfoPage() {
    if (m_info->memoModified && m_plan.app().messages().askYesNo(kStoreQuestion))
        storeMemo();
    m_info->shownItem = -1;
    m_info->memoModified = false;
    closeSheet();
}

void CItmInfoPrptSht::closeFromStatisticsPage() {
    closeSheet();
}

void CItmInfoPrptSht::closeSheet() {
    if (m_modeless)
        hide();
    else
        reject();
}
