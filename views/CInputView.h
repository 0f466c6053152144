#pragma once

#include "views/CAnInputView.h"

#include <QString>

#include <functional>

class CHrplDoc;
class CListViewOfActivities;
class CListViewOfActivityItems;

// The input pane: the tree with names, current priorities, time parts and the hours of the
// active day or week, and where the user types names, parts and hours. What a typed text does
// to the plan is the document's business; the pane asks it, then refills what changed.
class CInputView : public CAnInputView {
public:
    static constexpr int kTitleRows = 5;
    static constexpr const char* kNotEditable = "This cell is to show a result or title and cannot be edited.";
    static constexpr const char* kNoItemActive = "Activate a cell in  existent item, please.";

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

    CHrplDoc& m_document;
    CListViewOfActivities* m_activities = nullptr;
    CListViewOfActivityItems* m_divisions = nullptr;
    int m_commandFlag = 0;
};
