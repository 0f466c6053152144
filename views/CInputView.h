#pragma once

#include "core/CMyStringDate.h"
#include "model/CPlanActions.h"
#include "views/CAnInputView.h"
#include "views/CCellRules.h"
#include "views/CInputColumns.h"
#include "views/CInputCommands.h"
#include "views/CInputPaneHost.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CActivityItem;
class CRowTypeInfo;
class CHrplDoc;
class CListViewOfActivities;
class CListViewOfActivityItems;

// The input pane: the tree with names, current priorities, time parts and the hours of the
// active day or week, and where the user types names, parts and hours. The rules belong to the
// engine: the ledger takes typed hours and picks the day or the week, the plan editor decides
// parts, transfers and the tree. The pane reads the cell, calls them, asks the user the
// questions they leave open and refills what changed. It tells its grid which cells take
// typing and where Tab goes.
class CInputView : public CAnInputView, private CCellRules {
public:
    static constexpr int kTitleRows = 5;
    using Kind = CInputColumns::Kind;
    using Outcome = CPlanActions::Outcome;
    static constexpr const char* kNotEditable =
        "This cell is to show a result or title and cannot be edited.";
    static constexpr const char* kNoItemActive = "Activate a cell in  existent item, please.";

    explicit CInputView(CHrplDoc& document) : m_document(document) {}

    CHrplDoc& document() const { return m_document; }
    // The timesheet: the active week's days as columns. A week before the detailed period has
    // only its total, so it keeps the one hours column.
    // True when the grid changed its shape (the window then shares out its width anew).
    bool setWeekSheet(bool shown);
    bool weekSheet() const { return m_weekSheet; }
    // Whether the grid now has a column per day.
    bool showsDays() const { return m_daysShown; }
    const CInputColumns& columns() const { return m_table; }
    // The day a column stands for; none for a column that is no day's.
    std::optional<CMyStringDate> dayOfColumn(int column) const;

    void SetupGrid() override;
    void BuildTitle() override;
    void PrepareRows(CHrplDoc& document) override;
    void FillFromDocument(CHrplDoc& document) override;
    void OnActiveDateChanged(CHrplDoc& document);
    void RefreshPriorityColumn(CHrplDoc& document);
    void RefreshHourColumns(CHrplDoc& document);
    // Writes again what an action changed: the rows of a new tree (taking the user to its
    // focus), or the columns that follow the change.
    void show(const Outcome& outcome);

    // A finished edit of a cell of this pane's grid.
    void onFinishedEdit(QString* text, bool* cancel);
    // Where a modeless dialog of the pane goes: over the activities pane, kept on the screen.
    QPoint modelessDialogPosition(const QSize& dialogSize, const QSize& screen) const;

    // The tree commands on the active row.
    CInputCommands& commands() { return m_commands; }

    // The window that opens the pane's dialogs; none leaves every question unanswered.
    void setHost(CInputPaneHost* host) { m_host = host; }
    CInputPaneHost& paneHost() const;

    // The item of the active row; -1 for a title row or an empty row.
    std::int32_t activeItemId() const;
    // The division an insertion or a destination refers to: the row's division, an activity's
    // own division, the root for an empty row; none for a title row.
    std::optional<std::int32_t> activeDivision() const;
    std::int32_t divisionOfActiveRow() const;
    // The record of the active row, or null for a title row or an empty row.
    const CRowTypeInfo* activeRecord(int* dataRow = nullptr) const;
    // The record of a grid row; null for a title row or an empty row.
    const CRowTypeInfo* recordOfRow(int row) const;
    // The rows laid out and written again; the user is taken to the item's cell in the column
    // (0: its name).
    void rebuild(std::int32_t activate = -1, int column = 0);
    // Makes the item's row active, in the column given or the name's.
    void showItem(std::int32_t item, int column = 0);
    // The dates of the title after the active day moved, the shape changed when it must.
    void showActiveDate();
    int columnOfDay(const std::string& day) const;
    void fillDivisionsPane();
    // Marks the row of the activity a live timer runs on (-1: none).
    void markTimedItem(std::int32_t itemId);
    static constexpr std::uint32_t kTimedFill = 0xC8F0C8;

    void setPriorityPanes(CListViewOfActivities* activities, CListViewOfActivityItems* divisions) {
        m_activities = activities;
        m_divisions = divisions;
    }

private:
    bool wantsDays() const;
    int lastColumn() const { return m_table.count(); }
    bool editable(int row, int column) const override;
    // The grid built again for the other shape, with its title; the rows are the caller's.
    void reshape();
    void appendTableColumns();
    void writeHeadings();
    void writeDateRows();
    void writeDayHeadings();
    void writeRow(int row, int item, bool division);
    // A row's cells and its filler, as a refill writes them.
    void writeDeferredRow(int row) override;
    // The timed activity's row: a green band the user finds at a glance.
    void markTimedRow(int row) { styleDataRow(row, 0x000000, kTimedFill); }
    void refreshPriorityPanes(bool whole, const std::vector<std::int32_t>* moved = nullptr);
    QString columnText(const CActivityItem& item, int column) const;
    // Rewrites the columns that follow the change in every item row, then the priority panes;
    // changedItems: only the rows of these items, but the priorities of all.
    void refreshColumns(CInputColumns::Shows shows,
                        const std::vector<std::int32_t>* changedItems = nullptr);
    void entry(int column, int dataRow, const std::string& typed);
    bool refusesEdit(int row, int column) const override;
    bool isTabStop(int row, int column) const override;
    QString editText(int row, int column) const override;

    CHrplDoc& m_document;
    CInputColumns m_table;
    bool m_weekSheet = false;
    bool m_daysShown = false;
    bool m_built = false;
    std::int32_t m_timedItem = -1;
    CListViewOfActivities* m_activities = nullptr;
    CListViewOfActivityItems* m_divisions = nullptr;
    CInputPaneHost* m_host = nullptr;
    CInputCommands m_commands{*this};
};
