#pragma once

class CInputPaneHost;
class CInputView;

// The adjust dialog's transfer: the item receiving time part, and the one giving it, which the
// input pane's active row picks while the dialog is open.
class CPartTransfer {
public:
    static constexpr const char* kNoGiver =
        "Don't know where to take time part from. Activate a cell in an existing item please.";

    CPartTransfer(CInputView& input, CInputPaneHost& host) : m_input(input), m_host(host) {}

    void begin(int receiving, int giving = -1) {
        m_receivingItem = receiving;
        m_givingItem = giving;
    }
    void forget() { begin(-1); }
    int receivingItem() const { return m_receivingItem; }
    int givingItem() const { return m_givingItem; }

    // The pane's active row as the giving item.
    void pickGiver();
    // "Subtract from:": moves the amount from the giving item.
    void take(double amount);
    // OK: the receiving item gets the part.
    void setReceivingPart(double part);

private:
    CInputView& m_input;
    CInputPaneHost& m_host;
    int m_receivingItem = -1;
    int m_givingItem = -1;
};
