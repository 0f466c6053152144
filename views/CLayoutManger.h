#pragma once

#include "views/CFrctnRctng.h"
#include "views/CLayoutResult.h"

#include <vector>

class CLayoutGreed;

// A snapshot of a layout's fractional rectangles, turned into pixel rectangles for a client
// size with margins.
class CLayoutManger {
public:
    struct Margins {
        int left = 10;
        int right = 10;
        int top = 2;
        int bottom = 70;
    };

    void takeFractions(const CLayoutGreed& grid);
    // With the fixed margins.
    void computeRects(CLayoutResult& result, int width, int height) const;
    // With each pane's own margins (indexed by pane id; missing ones use the fixed margins).
    void computeRects(CLayoutResult& result, int width, int height,
                      const std::vector<Margins>& paneMargins) const;

    bool isValid() const { return m_valid; }

private:
    const CLayoutGreed* m_grid = nullptr;
    bool m_valid = false;
    std::vector<CFrctnRctng> m_rects;
};
