#include "model/CHeapReserve.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#if defined(__GLIBC__) && __has_include(<malloc.h>)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define QLN_HEAP_RESERVE 1
#endif

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below the largest piece the allocator still takes from the heap rather than mapping it alone.
constexpr std::size_t kPiece = std::size_t{16} << 20;
constexpr std::size_t kMost = std::size_t{1} << 30;

} // namespace

void CHeapReserve::forBytes(std::size_t bytes) {
#ifdef QLN_HEAP_RESERVE
    bytes = std::min(bytes, kMost);
    // The heap must not give the reserve straight back, nor map the pieces apart from it.
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kMost + kPiece));
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(2 * kPiece));
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    std::vector<void*> pieces;
    pieces.reserve(bytes / kPiece + 1);
    for (std::size_t grown = 0; grown < bytes; grown += kPiece)
        if (void* piece = std::malloc(kPiece))
            pieces.push_back(piece);
    for (void* piece : pieces)
        std::free(piece);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t begin = (before + kHugePage - 1) / kHugePage * kHugePage;
    const std::uintptr_t end = after / kHugePage * kHugePage;
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)bytes;
#endif
}
