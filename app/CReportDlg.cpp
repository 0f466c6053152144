#include "app/CReportDlg.h"

#include "app/CAppSettings.h"
#include "app/CChartExport.h"
#include "model/CAppCore.h"
#include "model/CAtomicFile.h"
#include "model/CHoursArchive.h"
#include "model/CHrplDoc.h"
#include "model/CPeriodHours.h"
#include "parse/NumberFormat.h"
#include "views/PlanText.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char* kFolderValue = "reportFolder";
constexpr const char* kChartResource = "chart";

std::string dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd")).toStdString();
}

QString percent(double value) {
    return QString::number(value, 'f', 1);
}

QTreeWidgetItem* lineItem(const CPeriodReport::Line& line) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, plantext::toDisplay(line.name) +
                         (line.deleted ? QStringLiteral(" (deleted)") : QString()));
    item->setText(1, QString::fromStdString(numberformat::formatClock(line.hours)));
    item->setText(2, percent(line.share));
    item->setText(3, percent(line.planned));
    item->setText(4, (line.difference() > 0 ? QStringLiteral("+") : QString()) +
                         percent(line.difference()));
    for (int column = 1; column < 5; ++column)
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    QFont font = item->font(0);
    font.setBold(line.division);
    font.setItalic(line.deleted);
    item->setFont(0, font);
    item->setToolTip(0, plantext::toDisplay(line.fullName));
    return item;
}

} // namespace

CReportDlg::CReportDlg(CHrplDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document) {
    setWindowTitle(QStringLiteral("Report"));
    auto* layout = new QVBoxLayout{this};
    buildChoices();
    auto* split = new QSplitter{Qt::Vertical, this};
    m_tree = new QTreeWidget{split};
    m_tree->setColumnCount(5);
    m_tree->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Hours"),
                             QStringLiteral("Share %"), QStringLiteral("Planned %"),
                             QStringLiteral("Difference")});
    m_tree->setAccessibleName(QStringLiteral("Hours of the period"));
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setStretchLastSection(false);
    m_chart = new QChartView{split};
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setFocusPolicy(Qt::NoFocus);
    m_chart->setMinimumHeight(240);
    split->setSizes({300, 300});
    layout->addWidget(split, 1);
    buildButtons();
    resize(820, 640);
}

CReportDlg::~CReportDlg() = default;

void CReportDlg::buildChoices() {
    auto* row = new QHBoxLayout;
    m_kind = new QComboBox{this};
    m_kind->addItems({QStringLiteral("Month"), QStringLiteral("Quarter"), QStringLiteral("Year"),
                      QStringLiteral("Range")});
    m_kind->setAccessibleName(QStringLiteral("Period"));
    // The program's today, which a moved clock moves too.
    const QDate today = QDate::fromString(
        QString::fromStdString(m_document.plan().app().dates().latestDate().text()),
        QStringLiteral("yyyyMMdd"));
    m_from = new QDateEdit{today, this};
    m_to = new QDateEdit{today, this};
    for (QDateEdit* edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_previous = new QPushButton{QStringLiteral("< Pre&vious"), this};
    m_next = new QPushButton{QStringLiteral("&Next >"), this};
    auto* kindLabel = new QLabel{QStringLiteral("&Period:"), this};
    kindLabel->setBuddy(m_kind);
    auto* fromLabel = new QLabel{QStringLiteral("&From"), this};
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel{QStringLiteral("&to"), this};
    toLabel->setBuddy(m_to);
    for (QWidget* widget : std::initializer_list<QWidget*>{kindLabel, m_kind, fromLabel, m_from,
                                                           toLabel, m_to, m_previous, m_next})
        row->addWidget(widget);
    row->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_from, &QDateEdit::dateChanged, this, [this] { refresh(); });
    connect(m_to, &QDateEdit::dateChanged, this, [this] { refresh(); });
    connect(m_previous, &QPushButton::clicked, this, [this] { step(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { step(1); });
}

void CReportDlg::buildButtons() {
    auto* row = new QHBoxLayout;
    m_save = new QPushButton{QStringLiteral("&Save..."), this};
    m_print = new QPushButton{QStringLiteral("P&rint..."), this};
    auto* close = new QPushButton{QStringLiteral("Close"), this};
    row->addStretch();
    row->addWidget(m_save);
    row->addWidget(m_print);
    row->addWidget(close);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_save, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(m_print, &QPushButton::clicked, this, [this] { print(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

// The hours not yet stored in the archive (weeks this load dropped) count too.
void CReportDlg::reload() {
    m_archive.clear();
    std::string why;
    if (!CHoursArchive::readForPlan(m_document.planPath(), m_archive, &why))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The archive of older hours cannot be read (") +
                                 QString::fromStdString(why) +
                                 QStringLiteral("), so the report holds the plan's weeks only."));
    CHoursArchive::unite(m_archive, m_document.plan().leftBehind);
    m_archiveOf = m_document.planPath();
    refresh();
}

std::pair<QDate, QDate> CReportDlg::period() const {
    const QDate day = m_from->date();
    switch (m_kind->currentIndex()) {
    case Month:
        return {QDate{day.year(), day.month(), 1},
                QDate{day.year(), day.month(), 1}.addMonths(1).addDays(-1)};
    case Quarter: {
        const QDate first{day.year(), (day.month() - 1) / 3 * 3 + 1, 1};
        return {first, first.addMonths(3).addDays(-1)};
    }
    case Year:
        return {QDate{day.year(), 1, 1}, QDate{day.year(), 12, 31}};
    default:
        return {day, std::max(day, m_to->date())};
    }
}

// The choices show the period they make; each moves by its own length.
void CReportDlg::step(int direction) {
    const auto [first, last] = period();
    const int kind = m_kind->currentIndex();
    if (kind != Range) {
        const int months[] = {1, 3, 12};
        m_from->setDate(first.addMonths(direction * months[kind]));
        return;
    }
    const qint64 days = direction * (first.daysTo(last) + 1);
    // The end first when going forward, the start first going back: never a start after the end.
    if (direction > 0)
        m_to->setDate(last.addDays(days));
    m_from->setDate(first.addDays(days));
    m_to->setDate(last.addDays(days));
}

void CReportDlg::refresh() {
    if (m_refreshing)
        return;
    if (m_archiveOf != m_document.planPath()) {
        reload();
        return;
    }
    m_refreshing = true;
    const auto [first, last] = period();
    m_to->setEnabled(m_kind->currentIndex() == Range);
    if (m_kind->currentIndex() != Range)
        m_from->setDate(first);
    m_to->setDate(last);
    m_refreshing = false;
    const CPeriodHours hours{m_document.plan(), m_archive, dateText(first), dateText(last)};
    m_report =
        std::make_unique<CPeriodReport>(m_document.plan(), hours, dateText(first), dateText(last));
    fillTree();
    fillChart();
}

void CReportDlg::fillTree() {
    m_tree->clear();
    std::vector<QTreeWidgetItem*> parents; // by depth
    for (const CPeriodReport::Line& line : m_report->lines()) {
        QTreeWidgetItem* item = lineItem(line);
        parents.resize(static_cast<std::size_t>(line.depth));
        if (parents.empty())
            m_tree->addTopLevelItem(item);
        else
            parents.back()->addChild(item);
        if (line.division)
            parents.push_back(item);
    }
    m_tree->expandAll();
    for (int column = 1; column < 5; ++column)
        m_tree->resizeColumnToContents(column);
}

void CReportDlg::fillChart() {
    auto* chart = new QChart;
    chart->setTheme(CChartExport::darkPalette(*this) ? QChart::ChartThemeDark
                                                     : QChart::ChartThemeLight);
    chart->setTitle(QStringLiteral("Shares of ") + m_from->date().toString(Qt::ISODate) +
                    QStringLiteral(" to ") + m_to->date().toString(Qt::ISODate) +
                    QStringLiteral(", ") +
                    QString::fromStdString(numberformat::formatClock(m_report->totalHours())) +
                    QStringLiteral(" hours"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* planned = new QBarSet{QStringLiteral("Planned part")};
    auto* actual = new QBarSet{QStringLiteral("Actual part")};
    QStringList names;
    QStringList rows;
    double top = 10;
    for (const CPeriodReport::Line* line : m_report->chartLines()) {
        *planned << line->planned;
        *actual << line->share;
        names << plantext::toDisplay(line->name);
        rows << names.back() + QStringLiteral(": planned ") + percent(line->planned) +
                    QStringLiteral(" %, actual ") + percent(line->share) + QStringLiteral(" %");
        top = std::max({top, line->planned, line->share});
    }
    CChartExport::addPartBars(*chart, planned, actual, names, top);
    CChartExport::describe(*m_chart, chart->title(), rows);
    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

std::unique_ptr<QTextDocument> CReportDlg::document() const {
    auto document = std::make_unique<QTextDocument>();
    const QImage chart = m_chart->grab().toImage();
    document->addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(kChartResource)),
                          chart);
    document->setHtml(plantext::toDisplay(m_report->html(kChartResource)));
    return document;
}

bool CReportDlg::saveAs() {
    const QString folderName = QString::fromLatin1(kFolderValue);
    QString folder = CAppSettings::readText(folderName);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString filter = QString::fromLatin1(kPdfA4Filter);
    const QStringList filters{filter, QString::fromLatin1(kPdfLetterFilter),
                              QString::fromLatin1(kHtmlFilter), QString::fromLatin1(kCsvFilter)};
    const QString chosen =
        m_chooser->chooseFile({QStringLiteral("Save the report"), folder,
                               filters.join(QStringLiteral(";;")), true, &filter});
    if (chosen.isEmpty())
        return false;
    const QString path = CChartExport::pathForFilter(chosen, filter);
    if (!save(path, filter)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The report could not be saved in ") + path);
        return false;
    }
    CAppSettings::write(folderName, QFileInfo(path).absolutePath());
    return true;
}

bool CReportDlg::save(const QString& path, const QString& filter) {
    if (filter == QLatin1String(kPdfA4Filter) || filter == QLatin1String(kPdfLetterFilter)) {
        QPdfWriter writer{path};
        writer.setPageSize(filter == QLatin1String(kPdfA4Filter) ? QPageSize(QPageSize::A4)
                                                                 : QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(windowTitle());
        document()->print(&writer);
        return QFileInfo(path).size() > 0;
    }
    return CAtomicFile::write(path.toStdString(), filter == QLatin1String(kCsvFilter)
                                                      ? m_report->csv()
                                                      : m_report->html());
}

void CReportDlg::print() {
    QPrinter printer;
    QPrintDialog dialog{&printer, this};
    dialog.setWindowTitle(QStringLiteral("Print the report"));
    if (dialog.exec() == QDialog::Accepted)
        document()->print(&printer);
}
