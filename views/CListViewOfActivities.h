#pragma once

#include "model/CRowTypeInfo.h"
#include "views/CPaneHost.h"
#include "views/CSpreadsheetView.h"

#include <cstdint>
#include <optional>
#include <vector>

class CHrplDoc;

// "Priorities of Activities": every activity, highest priority first, each row coloured by its
// priority. Read-only; refilled by the input pane after each of its refills.
class CListViewOfActivities : public CSpreadsheetView {
public:
    static constexpr int kTitleRows = 2;

    void SetupGrid() override;
    void BuildTitle() override;

    // Every row written afresh: after a change to the tree or to the current division.
    void fill(CHrplDoc& document);
    // After hours or parts changed, with the tree as it was: the rows are computed again and
    // only the cells that differ are written, with what a fill would write. `moved`: the only
    // items whose priorities changed since the rows were computed; none: any may have.
    void refresh(CHrplDoc& document, const std::vector<std::int32_t>* moved = nullptr);
    // The selection moved: off the title rows, and (activities pane) the info sheet follows.
    void onSelectionChanged(CHrplDoc& document);

    // The fill colour of a priority row.
    static std::uint32_t priorityFill(double priority, double low, double middle, double high);

    // "Activity Item Info" on the active row: the sheet, modeless beside this pane.
    void itemInfoCommand(CHrplDoc& document);
    // The item of the active row; -1 for none.
    std::int32_t activeItem(CHrplDoc& document) const;
    // "Division  View": the divisions pane, at the division of the active row's activity.
    void divisionViewCommand(CHrplDoc& document, CListViewOfActivities& divisionsPane);

    // The window that shows the item info sheet and the divisions pane.
    void setHost(CPaneHost* host) { m_host = host; }

protected:
    CPaneHost& host() const;

    // What a data row shows: its two texts and its colours.
    struct RowLook {
        QString name;
        QString priority;
        std::uint32_t textColour = 0x000000;
        std::uint32_t fillColour = kPlain;
    };
    // The pane's rows, computed from the plan, from the rows the document holds where only
    // `moved` items changed their priorities since.
    virtual RowMap orderedRows(CHrplDoc& document, const std::vector<std::int32_t>* moved);
    // The look of a row; none when its item is gone.
    virtual std::optional<RowLook> lookOf(CHrplDoc& document, const CRowTypeInfo& record) const;
    // Where the active cell goes after the rows were written.
    virtual void afterFill() { grid()->scrollToTop(); } // what to work on next is at the top

    virtual QString paneTitle() const { return QStringLiteral("Priorities of Activities"); }
    // The item info sheet follows this pane's selection only.
    virtual bool leadsTheSheet() const { return true; }
    virtual RowMap& rowsOf(CHrplDoc& document) const;

    void writeDeferredRow(int row) override;

private:
    void computeRows(CHrplDoc& document);
    void writeAllRows(CHrplDoc& document);
    void writeLook(int row, const RowLook& look);

    CPaneHost* m_host = nullptr;
    CHrplDoc* m_filledFrom = nullptr; // the document whose rows the pane shows
};
