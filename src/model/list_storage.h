#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace orbitograph {

// Storage for large lists: aligned and, where the system offers it, backed
// by huge pages, so that filling a list of millions of points costs a few
// hundred page faults instead of tens of thousands. Small sizes use the
// ordinary heap. Both functions are thread-safe.
void* AllocateListStorage(std::size_t bytes);
void ReleaseListStorage(void* p, std::size_t bytes) noexcept;

// The size from which list storage is backed by huge pages.
inline constexpr std::size_t kHugeListBytes = std::size_t{4} << 20;

// The allocator of the large grids and lists: list storage, and a default
// construction that writes nothing, for trivially copyable aggregates,
// arithmetic and enumeration types (PointList hides every way of growing
// that would reach it but ResizeUninitialised; grid columns and the kind
// grid are sized once and then written whole). Such types are implicit-lifetime, so their objects exist in the
// storage without a constructor call.
template <class T>
struct ListAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = ListAllocator<U>;
    };
    ListAllocator() noexcept = default;
    template <class U>
    ListAllocator(const ListAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateListStorage(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { ReleaseListStorage(p, n * sizeof(T)); }

    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        if constexpr (!(std::is_trivially_copyable_v<U> &&
                        (std::is_aggregate_v<U> || std::is_arithmetic_v<U> || std::is_enum_v<U>)))
            ::new (static_cast<void*>(p)) U();
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    friend bool operator==(const ListAllocator&, const ListAllocator<U>&) noexcept {
        return true;
    }
};

}  // namespace orbitograph
