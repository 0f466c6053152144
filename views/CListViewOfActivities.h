#pragma once

#include "model/CRowTypeInfo.h"
#include "views/CPaneHost.h"
#include "views/CSpreadsheetView.h"

#include <cstdint>

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

    // The window that shows the item info sheet and the divisions pane.
    void setHost(CPaneHost* host) { m_host = host; }

protected:
    CPaneHost& host() const;

    virtual QString paneTitle() const { return QStringLiteral("Priorities of Activities"); }
    virtual RowMap& rowsOf(CHrplDoc& document) const;

private:
    CPaneHost* m_host = nullptr;
};
