#pragma once

class CInputPaneHost;
class CInputView;

// The move command while its dialog is open: the input pane's active row picks the destination
// division, OK moves. The pair itself is the pane's; this is what the dialog does with it.
class CMoveSession {
public:
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

    CMoveSession(CInputView& input, CInputPaneHost& host) : m_input(input), m_host(host) {}

    // The pane's active row as the destination: its division, the root for an empty row.
    void pickDestination();
    // The dialog's OK, once the user confirmed it.
    void perform();
    void forget();

private:
    CInputView& m_input;
    CInputPaneHost& m_host;
};
