#pragma once

#include <cstdint>

// One cell of the pane layout table: the pane that occupies it, or -1.
struct CLayoutCell {
    std::int32_t paneId = -1;
};
