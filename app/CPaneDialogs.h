#pragma once

#include "model/CItemInfo.h"
#include "views/CInputPaneHost.h"
#include "views/CMoveSession.h"
#include "views/CPartTransfer.h"
#include "views/CViewHost.h"

#include <QString>

#include <functional>

class CAdjsTmPrtDlg;
class CAppCore;
class CHrplDoc;
class CHrplView;
class CItmInfoPrptSht;
class CMainFrame;
class CMvItmDlg;
class QWidget;

// The window's answers to the panes: the input pane's move and adjust dialogs and its
// questions, the item info sheet, and the divisions pane through the frame's toolbar. The
// dialogs are the frame's children.
class CPaneDialogs : public CInputPaneHost, public CViewHost {
public:
    using ShowHelp = std::function<void(const QString&)>;

    CPaneDialogs(CMainFrame& frame, CHrplView& view, CHrplDoc& document, const CAppCore& core,
                 const ShowHelp& help);

    // Any pane.
    void showItemInfo(std::uint16_t item, bool modal) override;
    void showDivisionsPane(bool shown) override;
    void followSelection(std::uint16_t item) override;

    // The input pane's commands.
    StructureChoice warnOvercomplicated(const QString& text) override;
    Adjustment chooseAdjustment() override;
    void openAdjustDialog(int item, double wanted, double others, int unit) override;
    void showGiver(const QString& name, double part) override;
    void showTransferred(double giverPart, double others) override;
    void openMoveDialog(const QString& itemName) override;
    void showMoveDestination(const QString& destinationName) override;

    // The view.
    InsertKind askInsertKind() override;
    bool moveDialogOpen() const override;
    bool adjustDialogOpen() const override;
    void showSheetBeside() override;
    // The item info sheet on its history page, and the charts drawn again after a change.
    void showHistory(std::uint16_t item);
    void refreshCharts();
    CItmInfoPrptSht* sheet() const { return m_sheet; }
    bool timerRunning() const override;
    void toggleTimer(std::int32_t itemId) override;
    void showActiveDay(const CMyStringDate& day) override;
    void closeSheet() override;
    void inputSelectionMoved() override;
    CMoveSession& moveSession() { return m_move; }
    CPartTransfer& transfer() { return m_transfer; }

private:
    void createMoveDialog();
    void createAdjustDialog(const CAppCore& core);
    // Over the activities pane, kept on the screen.
    void place(QWidget* dialog) const;
    void placeSheetBeside();
    // The sheet's texts for the item, with the averaged parts of the whole plan.
    CItemInfo itemInfo(std::uint16_t item) const;

    CMainFrame& m_frame;
    CHrplView& m_view;
    CHrplDoc& m_document;
    ShowHelp m_help;
    CMvItmDlg* m_moveDialog = nullptr;
    CAdjsTmPrtDlg* m_adjustDialog = nullptr;
    CItmInfoPrptSht* m_sheet = nullptr;
    CMoveSession m_move;
    CPartTransfer m_transfer;
};
