#include "app/CHistoryChart.h"

#include "app/CChartExport.h"
#include "core/QlnClock.h"
#include "model/CAppCore.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CQLData.h"
#include "views/PlanText.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QString hoursText(double hours) {
    return QString::fromStdString(qlnclock::hoursMinutes(std::llround(std::max(0.0, hours) * 60)));
}

// "Nov 29" for 20261129.
QString shortDate(const std::string& day) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = std::stoi(day.substr(4, 2));
    return QString::fromLatin1(kMonths[(month + 11) % 12]) + QLatin1Char(' ') +
           QString::fromStdString(day.substr(6, 2));
}

QChart* newChart(bool dark) {
    auto* chart = new QChart;
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 20, 4)); // room for the last date under the axis' end
    return chart;
}

// A band of the priority axis, from low to high, across the whole time axis.
QAreaSeries* band(double low, double high, int count, const QColor& colour, const QString& name) {
    auto* lower = new QLineSeries;
    auto* upper = new QLineSeries;
    lower->append(-0.5, low);
    lower->append(count - 0.5, low);
    upper->append(-0.5, high);
    upper->append(count - 0.5, high);
    auto* area = new QAreaSeries{upper, lower};
    area->setName(name);
    QColor fill = colour;
    fill.setAlpha(90);
    area->setBrush(fill);
    area->setPen(Qt::NoPen);
    return area;
}

// The time axis of a series drawn at 0, 1, 2...: a date under some six points, counted back
// from the last, so that the labels stay readable however many points there are.
QValueAxis* timeAxis(const QStringList& labels) {
    auto* axis = new QCategoryAxis;
    const int count = static_cast<int>(labels.size());
    const int step = std::max(1, (count + 5) / 6);
    axis->setRange(-0.5, std::max(count, 1) - 0.5);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    std::vector<int> marked;
    for (int i = count - 1; i >= 0; i -= step)
        marked.insert(marked.begin(), i);
    for (int i : marked)
        axis->append(labels[i], i);
    axis->setGridLineVisible(false);
    return axis;
}

} // namespace

CHistoryChart::CHistoryChart(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout{this};
    m_charts = new QWidget{this};
    auto* chartsLayout = new QVBoxLayout{m_charts};
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    m_title = new QLabel{m_charts};
    m_hoursView = new QChartView{m_charts};
    m_priorityView = new QChartView{m_charts};
    for (QChartView* view : {m_hoursView, m_priorityView}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumHeight(150);
        // A chart takes no keys, and a focused one would swallow the page's Alt keys.
        view->setFocusPolicy(Qt::NoFocus);
    }
    chartsLayout->addWidget(m_title);
    chartsLayout->addWidget(m_hoursView, 3);
    chartsLayout->addWidget(m_priorityView, 2);
    layout->addWidget(m_charts, 1);
    auto* buttons = new QHBoxLayout;
    m_daysBox = new QCheckBox{QStringLiteral("Days of the detailed weeks"), this};
    m_years = new QComboBox{this};
    m_years->addItems({QStringLiteral("Last year"), QStringLiteral("Last 2 years"),
                       QStringLiteral("Last 5 years")});
    m_years->setAccessibleName(QStringLiteral("Weeks shown"));
    m_copy = new QPushButton{QStringLiteral("Copy"), this};
    m_save = new QPushButton{QStringLiteral("Save..."), this};
    buttons->addWidget(m_daysBox);
    buttons->addWidget(m_years);
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    layout->addLayout(buttons);
    connect(m_daysBox, &QCheckBox::toggled, this, [this](bool days) { setDays(days); });
    connect(m_years, &QComboBox::currentIndexChanged, this, [this] {
        if (m_plan)
            draw();
    });
    connect(m_copy, &QPushButton::clicked, this, [this] { CChartExport::copy(*m_charts); });
    connect(m_save, &QPushButton::clicked, this,
            [this] { CChartExport::saveAs(*m_charts, *m_chooser); });
}

void CHistoryChart::show(CQLData& plan, std::int32_t itemId) {
    m_plan = &plan;
    m_item = itemId;
    m_stale = true;
    if (isVisible())
        draw();
}

void CHistoryChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale)
        draw();
}

void CHistoryChart::draw() {
    m_stale = false;
    CQLData& plan = *m_plan;
    const std::int32_t itemId = m_item;
    m_dark = CChartExport::darkPalette(*this);
    const CActivityItem* item = plan.findItem(itemId);
    const int years[] = {1, 2, 5};
    const int shown = years[std::clamp(m_years->currentIndex(), 0, 2)];
    m_weeks = item ? CItemHistory::weeks(plan, itemId, 52 * shown,
                                         shown > 1 ? archive() : std::vector<CArchivedHours>{})
                   : std::vector<CItemHistory::Week>{};
    m_days = item ? CItemHistory::days(plan, itemId) : std::vector<CItemHistory::Day>{};
    m_title->setText(!item                        ? QString()
                     : itemId == CQLData::kRootId ? QStringLiteral("The whole plan")
                                                  : plantext::toDisplay(plan.fullName(*item)));
    drawHours();
    drawPriorities(plan);
}

// The weeks before the plan's year, with those its load dropped and no store has kept yet.
std::vector<CArchivedHours> CHistoryChart::archive() const {
    std::vector<CArchivedHours> rows;
    if (!m_document)
        return rows;
    CHoursArchive::readForPlan(m_document->planPath(), rows);
    CHoursArchive::unite(rows, m_document->plan().leftBehind);
    return rows;
}

void CHistoryChart::setDays(bool days) {
    if (m_daysBox->isChecked() != days)
        m_daysBox->setChecked(days);
    drawHours();
}

void CHistoryChart::drawHours() {
    QChart* chart = newChart(m_dark);
    const bool days = m_daysBox->isChecked();
    auto* spent = new QBarSet{QStringLiteral("Hours spent")};
    auto* planned = new QLineSeries;
    planned->setName(days ? QStringLiteral("Hours planned per day")
                          : QStringLiteral("Hours planned per week"));
    QStringList labels;
    std::vector<QString> tips;
    double top = 1;
    const auto add = [&](const std::string& when, double hours, double plannedHours) {
        const int index = static_cast<int>(labels.size());
        *spent << hours;
        planned->append(index, plannedHours);
        labels << shortDate(when);
        tips.push_back((days ? QStringLiteral("") : QStringLiteral("Week of ")) + shortDate(when) +
                       QStringLiteral(": ") + hoursText(hours) + QStringLiteral(" spent, ") +
                       hoursText(plannedHours) + QStringLiteral(" planned"));
        top = std::max({top, hours, plannedHours});
    };
    if (days)
        for (const CItemHistory::Day& day : m_days)
            add(day.day, day.hours, day.plannedHours);
    else
        for (const CItemHistory::Week& week : m_weeks)
            add(week.week, week.hours, week.plannedHours);
    auto* bars = new QBarSeries;
    bars->append(spent);
    chart->addSeries(bars);
    chart->addSeries(planned);
    QValueAxis* axisX = timeAxis(labels);
    auto* axisY = new QValueAxis;
    axisY->setRange(0, top * 1.1);
    axisY->applyNiceNumbers();
    axisY->setTitleText(QStringLiteral("hours"));
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(bars), static_cast<QAbstractSeries*>(planned)}) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    connect(spent, &QBarSet::hovered, this, [tips](bool on, int index) {
        if (on && index >= 0 && index < static_cast<int>(tips.size()))
            QToolTip::showText(QCursor::pos(), tips[static_cast<std::size_t>(index)]);
    });
    CChartExport::describe(*m_hoursView,
                           planned->name() + QStringLiteral(" and spent, ") + m_title->text(),
                           QStringList(tips.begin(), tips.end()));
    QChart* old = m_hoursView->chart();
    m_hoursView->setChart(chart);
    delete old;
}

void CHistoryChart::drawPriorities(const CQLData& plan) {
    QChart* chart = newChart(m_dark);
    const CQlnConfig& config = plan.app().config();
    const int count = static_cast<int>(m_weeks.size());
    double top = std::max(config.priorityScale, config.highThreshold) * 1.1;
    auto* priority = new QLineSeries;
    priority->setName(QStringLiteral("Priority"));
    QStringList labels;
    QStringList rows;
    for (int i = 0; i < count; ++i) {
        const CItemHistory::Week& week = m_weeks[static_cast<std::size_t>(i)];
        labels << shortDate(week.week);
        if (!std::isfinite(week.priority))
            continue; // a week from the archive: the plan cannot compute its priority
        priority->append(i, week.priority);
        rows << QStringLiteral("Week of ") + labels.back() + QStringLiteral(": priority ") +
                    QString::number(week.priority, 'f', 1);
        top = std::max(top, week.priority * 1.05);
    }
    chart->addSeries(band(0, config.lowThreshold, std::max(count, 1), QColor(0x70, 0xc0, 0x70),
                          QStringLiteral("low")));
    chart->addSeries(band(config.middleThreshold, config.highThreshold, std::max(count, 1),
                          QColor(0xff, 0xb0, 0x50), QStringLiteral("high")));
    chart->addSeries(band(config.highThreshold, top, std::max(count, 1), QColor(0xff, 0x80, 0x90),
                          QStringLiteral("highest")));
    chart->addSeries(priority);
    QValueAxis* axisX = timeAxis(labels);
    auto* axisY = new QValueAxis;
    axisY->setRange(0, top);
    axisY->applyNiceNumbers();
    axisY->setTitleText(QStringLiteral("priority"));
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(axisX);
        series->attachAxis(axisY);
    }
    connect(priority, &QLineSeries::hovered, this, [rows](const QPointF& point, bool on) {
        const int index = static_cast<int>(std::lround(point.x()));
        if (on && index >= 0 && index < rows.size())
            QToolTip::showText(QCursor::pos(), rows[index]);
    });
    CChartExport::describe(*m_priorityView, QStringLiteral("Priority by week, ") + m_title->text(),
                           rows);
    QChart* old = m_priorityView->chart();
    m_priorityView->setChart(chart);
    delete old;
}
