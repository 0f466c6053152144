#include "app/COverviewDlg.h"

#include "app/CChartExport.h"
#include "model/CAppCore.h"
#include "model/CQLData.h"
#include "views/PlanText.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kWeeks[] = {4, 13, 52};

QString percent(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" %");
}

} // namespace

COverviewDlg::COverviewDlg(CQLData& plan, QWidget* parent) : QDialog(parent), m_plan(plan) {
    setWindowTitle(QStringLiteral("Plan Overview"));
    auto* layout = new QVBoxLayout{this};
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel{QStringLiteral("Over the last"), this});
    m_period = new QComboBox{this};
    m_period->addItems(
        {QStringLiteral("4 weeks"), QStringLiteral("13 weeks"), QStringLiteral("52 weeks")});
    m_period->setCurrentIndex(1);
    top->addWidget(m_period);
    top->addStretch();
    // What a click on a division's bars does, for the keyboard: pick it here and open it.
    m_divisions = new QComboBox{this};
    m_divisions->setAccessibleName(QStringLiteral("Division to open"));
    m_open = new QPushButton{QStringLiteral("&Open"), this};
    m_open->setToolTip(QStringLiteral("Show the parts within the division chosen beside"));
    top->addWidget(m_divisions);
    top->addWidget(m_open);
    m_up = new QPushButton{QStringLiteral("&Up"), this};
    m_up->setToolTip(QStringLiteral("Show the division that holds this one"));
    top->addWidget(m_up);
    layout->addLayout(top);
    m_view = new QChartView{this};
    m_view->setRenderHint(QPainter::Antialiasing);
    // The chart takes no keys, and a focused chart would swallow the buttons' Alt keys.
    m_view->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_view, 1);
    auto* buttons = new QHBoxLayout;
    m_copy = new QPushButton{QStringLiteral("Copy"), this};
    m_save = new QPushButton{QStringLiteral("Save..."), this};
    auto* close = new QPushButton{QStringLiteral("Close"), this};
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_period, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_up, &QPushButton::clicked, this, [this] {
        const CActivityItem* shown = m_plan.findItem(shownDivision());
        if (shown && shown->parentId >= 0)
            emit divisionChosen(shown->parentId);
    });
    connect(m_open, &QPushButton::clicked, this,
            [this] { choose(m_divisions->currentData().toInt()); });
    connect(m_copy, &QPushButton::clicked, this, [this] { CChartExport::copy(*m_view); });
    connect(m_save, &QPushButton::clicked, this,
            [this] { CChartExport::saveAs(*m_view, *m_chooser); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(760, 480);
}

std::int32_t COverviewDlg::shownDivision() const {
    return m_plan.app().currentDivision();
}

int COverviewDlg::weeks() const {
    return kWeeks[std::clamp(m_period->currentIndex(), 0, 2)];
}

void COverviewDlg::choose(int index) {
    if (index < 0 || index >= static_cast<int>(m_shares.size()))
        return;
    const CActivityItem* item = m_plan.findItem(m_shares[static_cast<std::size_t>(index)].id);
    if (item && item->isDivision())
        emit divisionChosen(item->id);
}

// The divisions among the shown items, for the keyboard's Open.
void COverviewDlg::listDivisions() {
    m_divisions->clear();
    for (std::size_t i = 0; i < m_shares.size(); ++i)
        if (const CActivityItem* item = m_plan.findItem(m_shares[i].id); item && item->isDivision())
            m_divisions->addItem(plantext::toDisplay(m_shares[i].name), static_cast<int>(i));
    m_divisions->setEnabled(m_divisions->count() > 0);
    m_open->setEnabled(m_divisions->count() > 0);
}

void COverviewDlg::refresh() {
    const std::int32_t division = shownDivision();
    m_shares = CItemHistory::shares(m_plan, division, weeks());
    auto* chart = new QChart;
    chart->setTheme(CChartExport::darkPalette(*this) ? QChart::ChartThemeDark
                                                     : QChart::ChartThemeLight);
    const CActivityItem* shown = m_plan.findItem(division);
    m_up->setEnabled(shown && shown->parentId >= 0);
    chart->setTitle(shown && division != CQLData::kRootId
                        ? QStringLiteral("In ") + plantext::toDisplay(m_plan.fullName(*shown))
                        : QStringLiteral("The whole plan"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    m_planned = new QBarSet{QStringLiteral("Planned part")};
    auto* actual = new QBarSet{QStringLiteral("Actual part")};
    QStringList names;
    QStringList tips;
    double top = 10;
    listDivisions();
    for (const CItemHistory::Share& share : m_shares) {
        *m_planned << share.plannedPart;
        *actual << share.actualPart;
        const QString name = plantext::toDisplay(share.name);
        names << name;
        tips << name + QStringLiteral(": planned ") + percent(share.plannedPart) +
                    QStringLiteral(", actual ") + percent(share.actualPart);
        top = std::max({top, share.plannedPart, share.actualPart});
    }
    CChartExport::addPartBars(*chart, m_planned, actual, names, top);
    for (QBarSet* set : {m_planned, actual}) {
        connect(set, &QBarSet::hovered, this, [tips](bool on, int index) {
            if (on && index >= 0 && index < tips.size())
                QToolTip::showText(QCursor::pos(), tips[index]);
        });
        connect(set, &QBarSet::clicked, this, [this](int index) { choose(index); });
    }
    CChartExport::describe(*m_view, chart->title() + QStringLiteral(": planned and actual parts"),
                           tips);
    QChart* old = m_view->chart();
    m_view->setChart(chart);
    delete old;
}
