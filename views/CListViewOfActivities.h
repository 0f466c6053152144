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

    // "Activity Item Info" on the active row: the sheet, modeless beside this pane.
    void itemInfoCommand(CHrplDoc& document);
    // "Division  View": the divisions pane, at the division of the active row's activity.
    void divisionViewCommand(CHrplDoc& document, CListViewOfActivities& divisionsPane);

    // Shows the item on the item info sheet, when the sheet follows the selection.
    std::function<void(std::uint16_t item)> followSelection;
    // Fills the item info sheet for the item and shows it, modal or modeless.
    std::function<void(std::uint16_t item, bool modal)> showItemInfo;
    // The main frame shows or hides the divisions pane.
    std::function<void(bool shown)> showDivisionsPane;

protected:
    virtual QString paneTitle() const { return QStringLiteral("Priorities of Activities"); }
    virtual RowMap& rowsOf(CHrplDoc& document) const;
};
