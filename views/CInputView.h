#pragma once

#include "views/CAnInputView.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>

class CActivityItem;
class CHrplDoc;
class CListViewOfActivities;
class CListViewOfActivityItems;

// The input pane: the tree with names, current priorities, time parts and the hours of the
// active day or week, and where the user types names, parts and hours. What a typed text does
// to the plan is the document's business; the pane asks it, then refills what changed.
class CInputView : public CAnInputView {
public:
    static constexpr int kTitleRows = 5;
    static constexpr const char* kNotEditable =
        "This cell is to show a result or title and cannot be edited.";
    static constexpr const char* kNoItemActive = "Activate a cell in  existent item, please.";
    static constexpr const char* kNoGiver =
        "Don't know where to take time part from. Activate a cell in an existing item please.";
    static constexpr const char* kGiverIsReceiver =
        "It is impossible to give time part to a division from its content. Activate a cell in "
        "other item please!";
    static constexpr const char* kGiverInsideReceiver =
        "It is impossible to give time part to a division from its content. Activate a cell in "
        "other item please.";
    static constexpr const char* kReceiverInsideGiver =
        "It is impossible to give time part from a division to its content. Activate a cell in "
        "other item please.";
    static constexpr const char* kReceiverGone =
        "The item to give time part to was not found. May be you have deleted it.";
    static constexpr const char* kGiverGone =
        "The item to take time part from was not found. May be you have deleted it.";
    static constexpr const char* kTransferRefused =
        "It is impossible to give time part to a division from its content. Close \"Adjust time "
        "part\" dialog "
        "and try once more.";
    static constexpr const char* kAbove100 =
        "The time part that you just requested would cause the sum of all time parts to be greater "
        "than 100% "
        "that cannot be. Diminish time parts in other items and try once more.";

    explicit CInputView(CHrplDoc& document) : m_document(document) {}

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

    int receivingItem = -1;
    int givingItem = -1;
    // To the adjust dialog: the giving item's name and part; after a transfer, its new part
    // and the sum of the parts other than the receiving item's.
    std::function<void(const QString& name, double part)> showGiver;
    std::function<void(double giverPart, double others)> showTransferred;

    void setPriorityPanes(CListViewOfActivities* activities, CListViewOfActivityItems* divisions) {
        m_activities = activities;
        m_divisions = divisions;
    }

    // "Select how to adjust the time part": 0 recalculate all to 100 %, 1 diminish others,
    // -1 cancelled.
    std::function<int()> chooseAdjustment;
    // The modeless adjust dialog for the receiving item, with the wanted part, the sum of the
    // other parts and the item's unit.
    std::function<void(int item, double wanted, double others, int unit)> openAdjustDialog;

private:
    void writeDateRows();
    void writeRow(int row, int item, bool division);
    void refreshPriorityPanes();
    void refreshPartColumns();
    void nameEntry(int dataRow, const QString& text);
    void timePartEntry(int dataRow, const QString& text);
    void recomputeAndRefresh();
    bool showsWeek() const;
    const char* nestingRefusal(const CActivityItem& giver, const CActivityItem& receiver) const;

    CHrplDoc& m_document;
    CListViewOfActivities* m_activities = nullptr;
    CListViewOfActivityItems* m_divisions = nullptr;
    int m_commandFlag = 0;
};
