#pragma once

#include "core/CMyStringDate.h"

#include <cstdint>

// What the main view asks of the window: the "Activity or Division?" question for the Insert
// key, whether a modeless dialog of the input pane is open, the item info sheet beside the
// activities pane, the live timer and the active day.
class CViewHost {
public:
    enum class InsertKind { Cancel, Activity, Division };

    virtual ~CViewHost() = default;

    virtual InsertKind askInsertKind() { return InsertKind::Cancel; }
    virtual bool moveDialogOpen() const { return false; }
    virtual bool adjustDialogOpen() const { return false; }
    // The input pane's active cell moved while its move or adjust dialog is open: that
    // dialog picks the row's item.
    virtual void inputSelectionMoved() {}
    virtual void showSheetBeside() {}
    virtual void closeSheet() {}
    // The live timer: whether one runs, and Start or Stop on an item.
    virtual bool timerRunning() const { return false; }
    virtual void toggleTimer(std::int32_t) {}
    // A day the user picked in the view (a timesheet's day heading) becomes the active day.
    virtual void showActiveDay(const CMyStringDate&) {}
};
