#include <gtest/gtest.h>

#include <algorithm>

#include "model/point_list.h"

using namespace orbitograph;

TEST(PointList, GrowsAcrossTheLargeStorageThresholdIntactAndInitialised) {
    // Growth by appends moves the points from ordinary to huge-page storage
    // and back on shrinking; every point must survive each move.
    PointList list;
    for (std::int32_t i = 0; i < 1'500'000; ++i) list.push_back({i, -i});
    PointList copy = list;
    ASSERT_EQ(copy.size(), 1'500'000u);
    for (std::size_t i = 0; i < copy.size(); i += 4999) EXPECT_EQ(copy[i], (Point{std::int32_t(i), -std::int32_t(i)}));
    copy.resize(10);
    copy.shrink_to_fit();
    EXPECT_EQ(copy.back(), (Point{9, -9}));
    list.resize(3'000'000);
    for (std::size_t i = 1'500'000; i < list.size(); ++i) list[i] = {1, 2};
    EXPECT_EQ(list[1'499'999], (Point{1'499'999, -1'499'999}));
    EXPECT_EQ(list.back(), (Point{1, 2}));

    // Growth without a value makes (0, 0) points, also over storage that held
    // other points (only ResizeUninitialised does not write them).
    PointList grown(100, Point{7, 7});
    grown.clear();
    grown.resize(50);
    grown.emplace_back();
    grown.emplace(grown.begin());
    EXPECT_TRUE(std::all_of(grown.begin(), grown.end(), [](Point p) { return p == Point{}; }));
    EXPECT_EQ(grown.size(), 52u);
    EXPECT_TRUE(PointList(3) == PointList({{0, 0}, {0, 0}, {0, 0}}));
}
