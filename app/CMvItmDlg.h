#pragma once

#include "app/CHelpDialog.h"

#include <functional>

class QLineEdit;

// "Move item dialog": modeless; shows the item being moved and the destination division the
// user activates in the input pane. OK asks the pane to move; both OK and Cancel let the pane
// forget its pair.
class CMvItmDlg : public CHelpDialog {
    Q_OBJECT

public:
    CMvItmDlg(std::function<void()> performMove, std::function<void()> forgetPair,
              ShowHelp showHelp, QWidget* parent = nullptr);

    void openFor(const QString& itemName);
    void setDestination(const QString& name);
    bool isOpen() const { return m_open; }
    QString itemText() const;
    QString destinationText() const;

    // Escape and the close button cancel, as the Cancel button does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void finish(bool move);

    std::function<void()> m_performMove;
    std::function<void()> m_forgetPair;
    QLineEdit* m_item;
    QLineEdit* m_destination;
    bool m_open = false;
};
