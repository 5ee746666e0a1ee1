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
#include "model/grid_analysis.h"
#include "model/list_storage.h"

namespace orbitograph {

// A pixel position in the client area: x to the right, y downwards.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
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

// The kind of every start point, in grid order (column by column from x1,
// within a column from y1), 1 byte each. Held in list storage: a new element
// is left unwritten, so whoever sizes it writes every element.
using KindGrid = std::vector<EndKind, ListAllocator<EndKind>>;

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
// empty), the attractors' exact end points, the kind and the end point of
// every start point in grid order (column by column from x1, within a column
// from y1), and the analysis of every orbit with the attractor catalogue.
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
    KindGrid kinds;
    GridEnds startPointEnds;
    GridAnalysis analysis;
    friend bool operator==(const SpaceLists&, const SpaceLists&) = default;
};

}  // namespace orbitograph
