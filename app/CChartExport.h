#pragma once

#include <QString>
#include <QStringList>

class CFileChooser;
class QBarSet;
class QChart;
class QWidget;

// Copying a chart to the clipboard and saving it as PNG or SVG, the way every chart window
// offers it.
class CChartExport {
public:
    static constexpr const char* kPngFilter = "PNG image (*.png)";
    static constexpr const char* kSvgFilter = "SVG drawing (*.svg)";
    // The folder of the last chart saved, offered the next time.
    static constexpr const char* kFolderValue = "chartFolder";

    static void copy(QWidget& chart);
    // PNG, or SVG when the name ends in .svg; false when it could not be written.
    static bool save(QWidget& chart, const QString& path);
    // Asks for a name and saves there as the chosen type, with its extension added when the
    // name has none; false when cancelled or not written.
    static bool saveAs(QWidget& chart, CFileChooser& chooser);
    // The name as saved: the chosen type's extension unless the name ends in it already.
    static QString pathForFilter(const QString& path, const QString& filter);
    // The chart theme that reads well on the widget's palette, light or dark.
    static bool darkPalette(const QWidget& widget);
    // The chart's text alternative for assistive technology: what it shows, and one line per
    // plotted point with its numbers.
    static void describe(QWidget& chart, const QString& name, const QStringList& rows);
    // The planned and the actual parts as pairs of bars over the names, on the percentage
    // axis of the parts charts; top is the largest part.
    static void addPartBars(QChart& chart, QBarSet* planned, QBarSet* actual,
                            const QStringList& names, double top);
};
