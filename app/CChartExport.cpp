#include "app/CChartExport.h"

#include "app/CAppSettings.h"
#include "app/CFileChooser.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>

namespace {

// The extension a name filter asks for: "pdf" of "PDF (*.pdf)"; a chart is a PNG without one.
QString suffixOf(const QString& filter) {
    const qsizetype star = filter.indexOf(QStringLiteral("(*."));
    const qsizetype end = filter.indexOf(QLatin1Char(')'), star);
    return star < 0 || end < 0 ? QStringLiteral("png") : filter.mid(star + 3, end - star - 3);
}

} // namespace

void CChartExport::copy(QWidget& chart) {
    // The picture, and its figures as text for where a picture cannot go (and for the reader
    // who cannot hover over the bars).
    QStringList figures;
    QList<QWidget*> parts = chart.findChildren<QWidget*>();
    parts.prepend(&chart);
    for (const QWidget* part : parts)
        if (!part->accessibleDescription().isEmpty())
            figures << part->accessibleName() + QLatin1Char('\n') + part->accessibleDescription();
    auto* data = new QMimeData;
    data->setImageData(chart.grab().toImage());
    data->setText(figures.join(QStringLiteral("\n\n")));
    QApplication::clipboard()->setMimeData(data);
}

bool CChartExport::save(QWidget& chart, const QString& path) {
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
        return chart.grab().save(path, "PNG");
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(chart.size());
    svg.setViewBox(chart.rect());
    svg.setTitle(chart.windowTitle());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    chart.render(&painter);
    return painter.end();
}

QString CChartExport::pathForFilter(const QString& path, const QString& filter) {
    const QString extension = QLatin1Char('.') + suffixOf(filter);
    return path.endsWith(extension, Qt::CaseInsensitive) ? path : path + extension;
}

// The dialog adds the chosen type's extension itself, so that it asks before it replaces a
// file of the name the chart is saved under.
bool CChartExport::saveAs(QWidget& chart, CFileChooser& chooser) {
    const QString folderName = QString::fromLatin1(kFolderValue);
    QString folder = CAppSettings::readText(folderName);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString filter = QString::fromLatin1(kPngFilter);
    const QString chosen = chooser.chooseFile(
        {QStringLiteral("Save the chart"), folder,
         filter + QStringLiteral(";;") + QString::fromLatin1(kSvgFilter), true, &filter});
    if (chosen.isEmpty())
        return false;
    const QString path = pathForFilter(chosen, filter);
    if (!save(chart, path))
        return false;
    CAppSettings::write(folderName, QFileInfo(path).absolutePath());
    return true;
}

bool CChartExport::darkPalette(const QWidget& widget) {
    return widget.palette().color(QPalette::Window).lightness() < 128;
}

void CChartExport::describe(QWidget& chart, const QString& name, const QStringList& rows) {
    chart.setAccessibleName(name);
    chart.setAccessibleDescription(rows.isEmpty() ? QStringLiteral("No figures yet.")
                                                  : rows.join(QLatin1Char('\n')));
}

void CChartExport::addPartBars(QChart& chart, QBarSet* planned, QBarSet* actual,
                               const QStringList& names, double top) {
    auto* bars = new QBarSeries;
    bars->append(planned);
    bars->append(actual);
    chart.addSeries(bars);
    auto* axisX = new QBarCategoryAxis;
    axisX->append(names);
    auto* axisY = new QValueAxis;
    axisY->setRange(0, std::min(100.0, top * 1.15));
    axisY->applyNiceNumbers();
    axisY->setTitleText(QStringLiteral("% of the time"));
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    chart.addAxis(axisX, Qt::AlignBottom);
    chart.addAxis(axisY, Qt::AlignLeft);
    bars->attachAxis(axisX);
    bars->attachAxis(axisY);
}
