#pragma once

#include <cstddef>

// Readies the heap for a burst of many small allocations, such as loading a large plan: the
// heap grows once by about that much and asks the system for huge pages in it. Each page of
// fresh memory otherwise costs a fault of its own, and on a virtual machine those faults took
// more time than reading the plan. Best effort: where the system offers no such advice the
// heap grows as before.
class CHeapReserve {
public:
    static void forBytes(std::size_t bytes);
};
