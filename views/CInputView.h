#pragma once

#include "core/CMyStringDate.h"
#include "views/CAnInputView.h"
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
// questions they leave open and refills what changed.
class CInputView : public CAnInputView {
public:
    static constexpr int kTitleRows = 5;
    // As a timesheet, the hours column is the first of the week's seven days, then the total.
    enum Column { kNameColumn = 1, kPriorityColumn, kPartColumn, kHoursColumn };
    static constexpr int kDays = 7;
    static constexpr int kWeekTotalColumn = kHoursColumn + kDays;
    static constexpr const char* kNotEditable =
        "This cell is to show a result or title and cannot be edited.";
    static constexpr const char* kNoItemActive = "Activate a cell in  existent item, please.";
    static constexpr const char* kNoGiver =
        "Don't know where to take time part from. Activate a cell in an existing item please.";

    explicit CInputView(CHrplDoc& document) : m_document(document) {}

    // The timesheet: the active week's days as columns. A week before the detailed period has
    // only its total, so it keeps the one hours column.
    // True when the grid changed its shape (the window then shares out its width anew).
    bool setWeekSheet(bool shown);
    bool weekSheet() const { return m_weekSheet; }
    // Whether the grid now has a column per day.
    bool showsDays() const { return m_daysShown; }
    // The day a column stands for; none for a column that is no day's.
    std::optional<CMyStringDate> dayOfColumn(int column) const;

    void SetupGrid() override;
    void BuildTitle() override;
    void PrepareRows(CHrplDoc& document) override;
    void FillFromDocument(CHrplDoc& document) override;
    void OnActiveDateChanged(CHrplDoc& document);
    void RefreshPriorityColumn(CHrplDoc& document);
    void RefreshHourColumns(CHrplDoc& document);
    void AcceptHours(int dataRow, int column, CHrplDoc& document, const QString& text);

    // A finished edit of a cell of this pane's grid.
    void onFinishedEdit(QString* text, bool* cancel);
    // The Change Time Part command on the active row.
    void changeTimePartCommand();

    // While the adjust dialog is open: the selection picks the item that gives time part.
    void pickGivingItem();
    // The adjust dialog's "Subtract from:": moves the amount from the giving item.
    void takeTimePart(double amount);
    // The adjust dialog's OK: the receiving item gets the part.
    void setReceivingPart(double part);
    // Where a modeless dialog of the pane goes: over the activities pane, kept on the screen.
    QPoint modelessDialogPosition(const QSize& dialogSize, const QSize& screen) const;

    // The tree-editing commands on the active row.
    void insertActivityCommand();
    void insertDivisionCommand();
    void deleteCommand();
    void moveToCommand();
    // While the move dialog is open: the selection picks the destination division.
    void pickMoveDestination();
    // The move dialog's OK.
    void performMove();
    void itemInfoCommand();
    void divisionViewCommand();
    // After the restore dialog: brings the chosen activities back.
    void restoreItems(const std::vector<int>& items);
    // Takes the plan one step back (or forward) and brings the user to where that step changed
    // it: its active day and its item's cell. False when there was no step.
    bool stepThroughHistory(bool forward);

    static constexpr const char* kNothingToDelete = "No row that can be deleted was activated.";
    static constexpr const char* kNothingToMove =
        "Don't know what to move. To move an item activate a cell in it first , please.";
    static constexpr const char* kNoDestination =
        "Don't know where to move to. Activate a cell in an existing division or empty row please.";
    static constexpr const char* kMoveIntoItself =
        "It is impossible to move item to itself. Select another division to move to please!";
    static constexpr const char* kDestinationNotChosen =
        "There will be no move because destination division was not selected.";
    static constexpr const char* kMovedItemGone =
        "The item to move was not found.  May be you have deleted it.";
    static constexpr const char* kDestinationGone =
        "The division to move to was not found.  May be you have deleted it.";
    static constexpr const char* kRestored =
        "The Activities have been restored to the root division with zero time parts. Please set "
        "the time parts "
        "for them and move them into the division that you would like to.";

    // The window that opens the pane's dialogs; none leaves every question unanswered.
    void setHost(CInputPaneHost* host) { m_host = host; }

    // The pair of the open adjust dialog: the item receiving time part, the one giving it.
    int receivingItem() const { return m_receivingItem; }
    int givingItem() const { return m_givingItem; }
    void setTransferPair(int receiving, int giving) {
        m_receivingItem = receiving;
        m_givingItem = giving;
    }
    void forgetTransferPair() { setTransferPair(-1, -1); }

    // The item of the active row; -1 for a title row or an empty row.
    std::int32_t activeItemId() const;
    // Marks the row of the activity a live timer runs on (-1: none).
    void markTimedItem(std::int32_t itemId);
    static constexpr std::uint32_t kTimedFill = 0xC8F0C8;

    void setPriorityPanes(CListViewOfActivities* activities, CListViewOfActivityItems* divisions) {
        m_activities = activities;
        m_divisions = divisions;
    }

private:
    bool wantsDays() const;
    int lastHoursColumn() const { return m_daysShown ? kWeekTotalColumn : kHoursColumn; }
    bool isHoursColumn(int column) const {
        return column >= kHoursColumn && column <= lastHoursColumn();
    }
    // The priorities and the week's total are shown, never typed.
    bool isComputed(int column) const {
        return column == kPriorityColumn || (m_daysShown && column == kWeekTotalColumn);
    }
    // The grid built again for the other shape, with its title; the rows are the caller's.
    void reshape();
    // The dates of the title after the active day moved, the shape changed when it must.
    void showActiveDate();
    void appendHoursColumns();
    void writeDateRows();
    void writeDayHeadings();
    int columnOfDay(const std::string& day) const;
    // Typed hours stored for the row's item on the day of the column, as that day would take
    // them while active; false when they were refused.
    bool storeTypedHours(int dataRow, int column, const QString& text);
    void writeRow(int row, int item, bool division);
    // The timed activity's row: a green band the user finds at a glance.
    void markTimedRow(int row) { styleDataRow(row, 0x000000, kTimedFill); }
    void refreshPriorityPanes(bool whole);
    QString columnText(const CActivityItem& item, int column) const;
    // Rewrites the column and the priorities of every item row, then the priority panes;
    // changedItems: the hours only of the rows of these items.
    void refreshColumns(int column, const std::vector<std::int32_t>* changedItems = nullptr);
    std::vector<std::int32_t> withDivisions(std::int32_t itemId) const;
    void nameEntry(int dataRow, const QString& text);
    // A typed part; fromCommand: the Change Time Part command, which asks no question.
    void timePartEntry(int dataRow, const QString& text, bool fromCommand = false);
    bool editable(int row, int column) const;
    bool refusesEdit(int row, int column) const;
    bool isTabStop(int row, int column) const;
    QString editText(int row, int column) const;
    // The record of the active row, or null for a title row or an empty row.
    const CRowTypeInfo* activeRecord(int* dataRow = nullptr) const;
    // The division an insertion or a destination refers to: the row's division, an activity's
    // own division, the root for a title row or an empty row.
    std::int32_t divisionOfActiveRow() const;
    void rebuild(std::int32_t activate = -1);

    CHrplDoc& m_document;
    bool m_weekSheet = false;
    bool m_daysShown = false;
    bool m_built = false;
    std::int32_t m_timedItem = -1;
    CListViewOfActivities* m_activities = nullptr;
    CListViewOfActivityItems* m_divisions = nullptr;
    CInputPaneHost& host() const;

    CInputPaneHost* m_host = nullptr;
    int m_receivingItem = -1;
    int m_givingItem = -1;
};
