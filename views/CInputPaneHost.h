#pragma once

#include "views/CPaneHost.h"

#include <QString>

// The dialogs of the input pane's commands. The modeless move and adjust dialogs call the pane
// back; these open them and keep them up to date.
class CInputPaneHost : public CPaneHost {
public:
    // "Warning about overcomplicated structure.": where the new division goes.
    enum class StructureChoice { Cancel, InRoot, AsChosen };
    // "Select how to adjust the time part".
    enum class Adjustment { Cancel, RecalculateAll, DiminishOthers };

    virtual StructureChoice warnOvercomplicated(const QString& text) {
        (void)text;
        return StructureChoice::Cancel;
    }
    virtual Adjustment chooseAdjustment() { return Adjustment::Cancel; }
    // The adjust dialog for the receiving item: the wanted part, the sum of the other parts and
    // the item's unit.
    virtual void openAdjustDialog(int item, double wanted, double others, int unit) {
        (void)item, (void)wanted, (void)others, (void)unit;
    }
    // The giving item's name and part; after a transfer, its new part and the sum of the parts
    // other than the receiving item's.
    virtual void showGiver(const QString& name, double part) { (void)name, (void)part; }
    virtual void showTransferred(double giverPart, double others) { (void)giverPart, (void)others; }
    // The move dialog: opened with the item's name; told the destination's name.
    virtual void openMoveDialog(const QString& itemName) { (void)itemName; }
    virtual void showMoveDestination(const QString& destinationName) { (void)destinationName; }
};
