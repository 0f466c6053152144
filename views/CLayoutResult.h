#pragma once

#include <cstdint>
#include <vector>

// Pixel rectangles of the panes, by pane id; not valid when a pane collapsed.
struct CLayoutResult {
    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
        bool operator==(const Rect&) const = default;
    };

    bool valid = false;
    std::vector<Rect> rects;

    void store(std::size_t paneId, const Rect& rect) {
        if (rects.size() <= paneId)
            rects.resize(paneId + 1);
        rects[paneId] = rect;
    }
};
