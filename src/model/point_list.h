#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace orbitograph {

// Storage for large lists: aligned and, where the system offers it, backed
// by huge pages, so that filling a list of millions of points costs a few
// hundred page faults instead of tens of thousands. Small sizes use the
// ordinary heap. Both functions are thread-safe.
void* AllocateListStorage(std::size_t bytes);
void ReleaseListStorage(void* p, std::size_t bytes) noexcept;

// A pixel position in the client area: x to the right, y downwards.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The allocator of the point lists. It differs from std::allocator in one
// thing: resize() leaves the new points' coordinates unwritten instead of
// zeroing them. The engine sizes each list once and then writes every
// element; zeroing hundreds of megabytes first would touch every page twice
// and cost a third of a large computation. Point is an implicit-lifetime
// type, so its objects exist in the storage without a constructor call.
// Every other way of making elements (push_back, copies, initialiser lists)
// constructs them as usual.
template <class T>
struct UninitialisedOnResize : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = UninitialisedOnResize<U>;
    };
    UninitialisedOnResize() noexcept = default;
    template <class U>
    UninitialisedOnResize(const UninitialisedOnResize<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateListStorage(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { ReleaseListStorage(p, n * sizeof(T)); }

    template <class U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        if constexpr (!(std::is_trivially_copyable_v<U> && std::is_aggregate_v<U>)) ::new (static_cast<void*>(p)) U();
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    friend bool operator==(const UninitialisedOnResize&, const UninitialisedOnResize<U>&) noexcept {
        return true;
    }
};

using PointList = std::vector<Point, UninitialisedOnResize<Point>>;

// The seven lists one computation produces, in the order of FractalModel.
// A value type, so a worker thread can build it and hand it over whole.
struct SpaceLists {
    PointList attractors;
    PointList basinInfinity;
    PointList basinM;
    PointList basinO;
    PointList basinH;
    PointList basinT;
    PointList basinZero;
    friend bool operator==(const SpaceLists&, const SpaceLists&) = default;
};

}  // namespace orbitograph
