#pragma once

#include <cstdint>

// What a pane asks of the window around it. The main frame answers; every default does
// nothing, so a pane on its own (a test, the start-up) still works.
class CPaneHost {
public:
    virtual ~CPaneHost() = default;

    // The item info sheet, modal or beside the panes.
    virtual void showItemInfo(std::uint16_t item, bool modal) {
        (void)item;
        (void)modal;
    }
    // The divisions pane, shown or hidden together with the toolbar button that does it.
    virtual void showDivisionsPane(bool shown) { (void)shown; }
    // The activities pane's selection moved to the item: a sheet open beside follows it.
    virtual void followSelection(std::uint16_t item) { (void)item; }
};
