#pragma once

#include "views/CInputPaneHost.h"
#include "views/CMoveSession.h"
#include "views/CPartTransfer.h"
#include "views/CViewHost.h"

#include <functional>

// The window around the panes, as a test scripts it: each question is answered and each
// request recorded by the function a test sets; an unset one keeps the default.
struct ScriptedHost : CInputPaneHost, CViewHost {
    std::function<void(std::uint16_t item, bool modal)> onItemInfo;
    std::function<void(bool shown)> onDivisionsPane;
    std::function<void(std::uint16_t item)> onFollow;
    std::function<StructureChoice(const QString& text)> onOvercomplicated;
    std::function<Adjustment()> onChooseAdjustment;
    std::function<void(int item, double wanted, double others, int unit)> onAdjustDialog;
    std::function<void(const QString& name, double part)> onGiver;
    std::function<void(double giverPart, double others)> onTransferred;
    std::function<void(const QString& name)> onMoveDialog;
    std::function<void(const QString& name)> onMoveDestination;
    std::function<InsertKind()> onInsertKind;
    std::function<void()> onSheetBeside;
    std::function<void()> onCloseSheet;
    bool moveOpen = false;
    bool adjustOpen = false;
    // The dialogs' sessions, as the window keeps them beside its dialogs.
    CMoveSession* move = nullptr;
    CPartTransfer* transfer = nullptr;

    void showItemInfo(std::uint16_t item, bool modal) override {
        if (onItemInfo)
            onItemInfo(item, modal);
    }
    void showDivisionsPane(bool shown) override {
        if (onDivisionsPane)
            onDivisionsPane(shown);
    }
    void followSelection(std::uint16_t item) override {
        if (onFollow)
            onFollow(item);
    }
    StructureChoice warnOvercomplicated(const QString& text) override {
        return onOvercomplicated ? onOvercomplicated(text) : StructureChoice::Cancel;
    }
    Adjustment chooseAdjustment() override {
        return onChooseAdjustment ? onChooseAdjustment() : Adjustment::Cancel;
    }
    void openAdjustDialog(int item, double wanted, double others, int unit) override {
        if (transfer)
            transfer->begin(item);
        if (onAdjustDialog)
            onAdjustDialog(item, wanted, others, unit);
    }
    void showGiver(const QString& name, double part) override {
        if (onGiver)
            onGiver(name, part);
    }
    void showTransferred(double giverPart, double others) override {
        if (onTransferred)
            onTransferred(giverPart, others);
    }
    void openMoveDialog(const QString& name) override {
        if (onMoveDialog)
            onMoveDialog(name);
    }
    void showMoveDestination(const QString& name) override {
        if (onMoveDestination)
            onMoveDestination(name);
    }
    InsertKind askInsertKind() override {
        return onInsertKind ? onInsertKind() : InsertKind::Cancel;
    }
    bool moveDialogOpen() const override { return moveOpen; }
    bool adjustDialogOpen() const override { return adjustOpen; }
    void inputSelectionMoved() override {
        if (moveOpen && move)
            move->pickDestination();
        else if (adjustOpen && transfer)
            transfer->pickGiver();
    }
    void showSheetBeside() override {
        if (onSheetBeside)
            onSheetBeside();
    }
    void closeSheet() override {
        if (onCloseSheet)
            onCloseSheet();
    }
};
