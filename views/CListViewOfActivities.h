#pragma once

#include "model/CRowTypeInfo.h"
#include "views/CSpreadsheetView.h"

#include <cstdint>
#include <functional>

class CHrplDoc;

// "Priorities of Activities": every activity, highest priority first, each row coloured by its
// priority. Read-only; refilled by the input pane after each of its refills.
class CListViewOfActivities : public CSpreadsheetView {
public:
    static constexpr int kTitleRows = 2;

    void SetupGrid() override;
    void BuildTitle() override;

    virtual void fill(CHrplDoc& document);
    // The selection moved: off the title rows, and (activities pane) the info sheet follows.
    void onSelectionChanged(CHrplDoc& document);

    // The fill colour of a priority row.
    static std::uint32_t priorityFill(double priority, double low, double middle, double high);

    // Shows the item on the item info sheet, when the sheet follows the selection.
    std::function<void(std::uint16_t item)> followSelection;

protected:
    virtual QString paneTitle() const { return QStringLiteral("Priorities of Activities"); }
    virtual RowMap& rowsOf(CHrplDoc& document) const;
};
