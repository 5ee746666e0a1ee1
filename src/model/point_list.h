#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/classify.h"

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

// The allocator of the point lists: list storage, and a default
// construction that writes nothing. PointList below hides every way of
// growing that would default-construct (the size constructors, resize,
// emplace_back() and emplace(pos) without a value) behind versions that
// initialise, so that only its ResizeUninitialised reaches that
// construction. Point is an implicit-lifetime type, so its objects exist in
// the storage without a constructor call.
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
        if constexpr (!(std::is_trivially_copyable_v<U> && (std::is_aggregate_v<U> || std::is_arithmetic_v<U>)))
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

// A growable list of points. Every element is initialised (a new point is
// (0, 0) unless a value is given), except by ResizeUninitialised.
class PointList : public std::vector<Point, ListAllocator<Point>> {
    using Base = std::vector<Point, ListAllocator<Point>>;

public:
    using Base::Base;
    PointList() = default;
    explicit PointList(size_type n) : Base(n, Point{}) {}
    PointList(size_type n, const allocator_type& a) : Base(n, Point{}, a) {}
    PointList(std::initializer_list<Point> points) : Base(points) {}

    void resize(size_type n) { Base::resize(n, Point{}); }
    using Base::resize;
    Point& emplace_back() { return Base::emplace_back(Point{}); }
    using Base::emplace_back;
    iterator emplace(const_iterator pos) { return Base::emplace(pos, Point{}); }
    using Base::emplace;

    // Grows or shrinks to n points, leaving the coordinates of new points
    // unwritten: for a caller that then writes every one of them. Zeroing
    // hundreds of megabytes first would touch every page twice and cost a
    // third of a large computation.
    void ResizeUninitialised(size_type n) { Base::resize(n); }
};

// The exact end points (the model's own doubles, not pixels) of the orbits
// that end inside the square [-2, 2]^2, in the order of the attractor list:
// element i is the end point whose truncated pixel is attractors[i].
struct AttractorEnds {
    std::vector<double> x;
    std::vector<double> y;
    std::size_t size() const { return x.size(); }
    friend bool operator==(const AttractorEnds&, const AttractorEnds&) = default;
};

// The end point of every start point, in grid order (column by column from
// x1, within a column from y1): the exact doubles that the map steps give,
// wherever the computation made every step (inside the square or not, and
// also where it stopped early on a state that no later step changes); NaN
// for both coordinates where it stopped because the orbit was proven to end
// outside the square. Equality compares the bits, so NaN equals NaN.
// Held in list storage: a new element is left unwritten (see ListAllocator),
// so whoever sizes the vectors writes every element.
struct GridEnds {
    using Column = std::vector<double, ListAllocator<double>>;
    Column x;
    Column y;
    std::size_t size() const { return x.size(); }
    friend bool operator==(const GridEnds& a, const GridEnds& b) {
        const auto same = [](const Column& u, const Column& v) {
            return u.size() == v.size() &&
                   (u.empty() || std::memcmp(u.data(), v.data(), u.size() * sizeof(double)) == 0);
        };
        return same(a.x, b.x) && same(a.y, b.y);
    }
};

// The seven lists one computation produces, in the order of FractalModel,
// and, when the computation was asked for them (ComputeControl; otherwise
// empty), the attractors' exact end points, and the kind and the end point
// of every start point in grid order (column by column from x1, within a column from y1).
// A value type, so a worker thread can build it and hand it over whole.
struct SpaceLists {
    PointList attractors;
    PointList basinInfinity;
    PointList basinM;
    PointList basinO;
    PointList basinH;
    PointList basinT;
    PointList basinZero;
    AttractorEnds attractorEnds;
    std::vector<EndKind> kinds;
    GridEnds startPointEnds;
    friend bool operator==(const SpaceLists&, const SpaceLists&) = default;
};

}  // namespace orbitograph
