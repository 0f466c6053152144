#include "app/CChartExport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

CChartExport::ChooseFile CChartExport::fileDialog(QWidget* parent) {
    return [parent](const QString& title, const QString& directory, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, title, directory, filter);
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

bool CChartExport::saveAs(QWidget& chart, const ChooseFile& choose) {
    const QString path = choose ? choose(QStringLiteral("Save the chart"), QDir::homePath(),
                                         QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"))
                                : QString();
    return save(chart, path);
}

bool CChartExport::darkPalette(const QWidget& widget) {
    return widget.palette().color(QPalette::Window).lightness() < 128;
}
