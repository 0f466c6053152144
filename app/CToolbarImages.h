#pragma once

#include <QIcon>
#include <QPixmap>

// The toolbar's pictures, drawn at 22 by 16 pixels: arrows for the day and week buttons, a
// small tree for the divisions window, a stopwatch for the live timer, a calendar page for today.
// Each button has a normal, a hot (under the mouse) and a disabled image.
class CToolbarImages {
public:
    // The toolbar's buttons in their order; the frame's commands use the same names.
    enum Button {
        DayBack,
        DayForward,
        WeekBack,
        WeekForward,
        HideDivisions,
        ShowDivisions,
        Timer,
        Today
    };
    static constexpr int kButtons = Today + 1;
    enum Look { Normal, Hot, Disabled };
    static constexpr int kWidth = 22;
    static constexpr int kHeight = 16;

    // Drawn for the device pixel ratio given: sharp at any scale factor.
    static QPixmap image(Button button, Look look, qreal ratio = 1);
    // The three images as one icon: normal, hot for the active mode, disabled; each drawn for
    // the size and scale asked, when first asked.
    static QIcon icon(Button button);
};
