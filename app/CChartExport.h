#pragma once

#include <QString>

#include <functional>

class QWidget;

// Copying a chart to the clipboard and saving it as PNG or SVG, the way every chart window
// offers it.
class CChartExport {
public:
    // Shows the save dialog: title, starting directory, filter; "" when cancelled.
    using ChooseFile = std::function<QString(const QString&, const QString&, const QString&)>;

    // The desktop's save dialog, over the parent.
    static ChooseFile fileDialog(QWidget* parent);
    static void copy(QWidget& chart);
    // PNG, or SVG when the name ends in .svg; false when it could not be written.
    static bool save(QWidget& chart, const QString& path);
    // Asks for a name and saves there; false when cancelled or not written.
    static bool saveAs(QWidget& chart, const ChooseFile& choose);
    // The chart theme that reads well on the widget's palette, light or dark.
    static bool darkPalette(const QWidget& widget);
};
