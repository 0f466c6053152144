#pragma once

#include "app/CHelpDialog.h"
#include "model/CPlanEditor.h"

#include <vector>

class CMessageSink;
class QTreeWidget;

// "Restore an Activity": the deleted activities with their last dates; the user selects the
// ones to bring back.
class CRstrActvtDlg : public CHelpDialog {
    Q_OBJECT

public:
    static constexpr const char* kNothingToRestore = "There are no Activities to restore.";

    CRstrActvtDlg(CMessageSink& messages, ShowHelp showHelp, QWidget* parent = nullptr);

    // Fills the list; with nothing to restore shows the message and returns false.
    bool fill(const std::vector<CPlanEditor::RestoreCandidate>& candidates);
    // Shows the dialog modally; Accepted with the selected identifiers in list order.
    int run(const std::vector<CPlanEditor::RestoreCandidate>& candidates);
    const std::vector<int>& chosen() const { return m_chosen; }
    QTreeWidget* list() const { return m_list; }

    void accept() override;

private:
    CMessageSink& m_messages;
    QTreeWidget* m_list;
    std::vector<int> m_rowItems;
    std::vector<int> m_chosen;
};
