#include "app/CChartExport.h"

#include "app/CAppSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

namespace {

QString suffixOf(const QString& filter) {
    return filter == QLatin1String(CChartExport::kSvgFilter) ? QStringLiteral("svg")
                                                             : QStringLiteral("png");
}

} // namespace

// The dialog adds the chosen type's extension itself, so that it asks before it replaces a
// file of the name the chart is saved under.
CChartExport::ChooseFile CChartExport::fileDialog(QWidget* parent) {
    return [parent](const QString& title, const QString& directory, const QString& filters,
                    QString* chosen) {
        QFileDialog dialog{parent, title, directory, filters};
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectNameFilter(*chosen);
        dialog.setDefaultSuffix(suffixOf(*chosen));
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        *chosen = dialog.selectedNameFilter();
        return dialog.selectedFiles().constFirst();
    };
}

void CChartExport::copy(QWidget& chart) {
    QApplication::clipboard()->setPixmap(chart.grab());
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

bool CChartExport::saveAs(QWidget& chart, const ChooseFile& choose) {
    if (!choose)
        return false;
    const QString folderName = QString::fromLatin1(kFolderValue);
    QString folder = CAppSettings::readText(folderName);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString filter = QString::fromLatin1(kPngFilter);
    const QString chosen =
        choose(QStringLiteral("Save the chart"), folder,
               filter + QStringLiteral(";;") + QString::fromLatin1(kSvgFilter), &filter);
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
