#include "model/point_list.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orbitograph {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* AllocateListStorage(std::size_t bytes) {
#if defined(__linux__)
    if (bytes >= kHugeListBytes) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* p = std::aligned_alloc(kHugePage, rounded);
        if (p == nullptr) throw std::bad_alloc();
        // Advice only: without huge pages the storage works the same.
        (void)madvise(p, rounded, MADV_HUGEPAGE);
        return p;
    }
#endif
    return ::operator new(bytes);
}

void ReleaseListStorage(void* p, std::size_t bytes) noexcept {
#if defined(__linux__)
    if (bytes >= kHugeListBytes) {
        std::free(p);
        return;
    }
#endif
    ::operator delete(p);
}

}  // namespace orbitograph
