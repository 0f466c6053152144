#pragma once

// What the main view asks of the window: the "Activity or Division?" question for the Insert
// key, whether a modeless dialog of the input pane is open, and the item info sheet beside the
// activities pane.
class CViewHost {
public:
    enum class InsertKind { Cancel, Activity, Division };

    virtual ~CViewHost() = default;

    virtual InsertKind askInsertKind() { return InsertKind::Cancel; }
    virtual bool moveDialogOpen() const { return false; }
    virtual bool adjustDialogOpen() const { return false; }
    virtual void showSheetBeside() {}
    virtual void closeSheet() {}
};
