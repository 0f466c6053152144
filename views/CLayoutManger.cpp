#include "views/CLayoutManger.h"

#include "views/CLayoutGreed.h"

void CLayoutManger::takeFractions(const CLayoutGreed& grid) {
    const std::vector<CFrctnRctng>* rects = grid.fractionRects();
    if (!rects)
        return;
    m_rects.assign(rects->size(), CFrctnRctng{});
    for (const auto& entry : grid.paneIds())
        m_rects[static_cast<std::size_t>(entry.first)] =
            (*rects)[static_cast<std::size_t>(entry.first)];
    m_grid = &grid;
    m_valid = true;
}

void CLayoutManger::computeRects(CLayoutResult& result, int width, int height) const {
    computeRects(result, width, height, {});
}

void CLayoutManger::computeRects(CLayoutResult& result, int width, int height,
                                 const std::vector<Margins>& paneMargins) const {
    result.valid = m_valid;
    if (!m_valid || !m_grid)
        return;
    bool tooSmall = false;
    for (const auto& entry : m_grid->paneIds()) {
        const auto id = static_cast<std::size_t>(entry.first);
        const Margins margins = id < paneMargins.size() ? paneMargins[id] : Margins{};
        const CFrctnRctng& f = m_rects[id];
        CLayoutResult::Rect rect;
        rect.left = static_cast<int>(f.left * width) + margins.left;
        rect.right = static_cast<int>(f.right * width) - margins.right;
        rect.top = static_cast<int>(f.top * height) + margins.top;
        rect.bottom = static_cast<int>(f.bottom * height) - margins.bottom;
        if (rect.right <= rect.left) {
            rect.right = rect.left + 1;
            tooSmall = true;
        }
        if (rect.bottom <= rect.top) {
            rect.bottom = rect.top + 1;
            tooSmall = true;
        }
        result.store(id, rect);
    }
    result.valid = !tooSmall;
}
