#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/label_metrics.h"
#include "reference_metrics.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

struct Grid {
    std::string name;
    std::size_t rows, cols;
    std::vector<std::int64_t> labels;
    std::int32_t box;
    std::vector<std::int32_t> ks;
};

Grid Made(std::string name, std::size_t rows, std::size_t cols, std::int32_t box, std::vector<std::int32_t> ks,
          auto label) {
    Grid g{std::move(name), rows, cols, std::vector<std::int64_t>(rows * cols), box, std::move(ks)};
    for (std::size_t k = 0; k < rows * cols; ++k) g.labels[k] = label(k / cols, k % cols);
    return g;
}

// Patches of a few labels (so that most boxes hold one), some single points
// in them, every label type's values.
Grid Drawn(test::Draw& d, int n) {
    const std::int32_t box = d.Int(1, 7);
    std::vector<std::int32_t> ks;
    for (std::int32_t k = d.Int(1, 3); k < 40; k += d.Int(1, 6)) ks.push_back(k);
    const int patch = d.Int(1, 9), kinds = d.Int(1, 6);
    const std::uint64_t salt = d.Bits();
    const std::int64_t values[] = {0, 1, 255, 7, 254, 3};
    const auto label = [&](std::size_t i, std::size_t j) {
        test::Draw cell{salt ^ ((i / patch) * 7919 + j / patch)};
        test::Draw point{salt ^ (i * 104729 + j)};
        return values[point.Chance(0.03) ? point.Int(0, 5) : cell.Int(0, kinds - 1)];
    };
    return Made("drawn " + std::to_string(n), d.Int(0, 70), d.Int(0, 70), box, ks, label);
}

bool Near(double got, double want) {
    return std::isnan(want) ? std::isnan(got) : std::fabs(got - want) <= 1e-12 * std::fabs(want);
}

void ExpectAgree(const LabelMetrics& got, const LabelMetrics& want, const std::string& what) {
    for (const auto& [name, g, w] :
         {std::tuple("Sb", got.sb, want.sb), {"Sbb", got.sbb, want.sbb}, {"alpha", got.alpha, want.alpha}})
        EXPECT_TRUE(Near(g, w)) << what << ": " << name << " " << g << " vs " << w;
    EXPECT_EQ(std::pair(got.boxes, got.boundaryBoxes), std::pair(want.boxes, want.boundaryBoxes)) << what;
    ASSERT_EQ(got.f.size(), want.f.size()) << what;
    for (std::size_t i = 0; i < got.f.size(); ++i) {
        EXPECT_EQ(got.f[i].k, want.f[i].k) << what;
        EXPECT_TRUE(Near(got.f[i].f, want.f[i].f)) << what << ": f[" << want.f[i].k << "]";
    }
}

template <class Label>
LabelMetrics Fast(const Grid& g, double step) {
    const std::vector<Label> labels(g.labels.begin(), g.labels.end());
    return ComputeLabelMetrics<Label>(labels, g.rows, g.cols, step, g.box, g.ks);
}

}  // namespace

// Known grids and drawn ones, each in the three label types, against the
// transcription; the known grids also against their closed forms.
TEST(LabelMetrics, AgreeWithTheTranscription) {
    const double nan = std::nan(""), h = 0.001;
    const double checker = -(13.0 / 25 * std::log(13.0 / 25) + 12.0 / 25 * std::log(12.0 / 25));
    struct Known {
        Grid grid;
        double sb, sbb, alpha;
        std::int64_t boundaryBoxes, boxes;
    };
    const Known known[] = {
        {Made("smaller than a box", 4, 9, 5, {1, 2}, [](auto, auto j) { return j < 4; }), nan, 0.0, nan, 0, 0},
        {Made("one label, every k too large for some side", 30, 8, 5, {1, 2, 4, 8}, [](auto, auto) { return 6; }), 0.0,
         0.0, nan, 0, 6},
        {Made("checkerboard", 23, 31, 5, {1, 2, 3}, [](auto i, auto j) { return (i + j) % 2 * 255; }), checker, checker,
         0.0, 24, 24},
        {Made("empty", 0, 0, 5, {1}, [](auto, auto) { return 0; }), nan, 0.0, nan, 0, 0},
    };
    for (const Known& k : known) {
        const LabelMetrics want = reference::Metrics(k.grid.labels, k.grid.rows, k.grid.cols, h, k.grid.box, k.grid.ks);
        ExpectAgree(Fast<std::uint8_t>(k.grid, h), want, k.grid.name);
        ExpectAgree(want, {k.sb, k.sbb, k.boundaryBoxes, k.boxes, want.f, k.alpha}, k.grid.name + ", closed form");
    }
    // A straight boundary: f[k] = 2k / (cols - 2k), the slope near 1.
    const Grid edge = Made("straight boundary", 20, 4001, 5, {1, 2, 4, 8}, [](auto, auto j) { return j < 2000; });
    const LabelMetrics straight = Fast<std::int32_t>(edge, h);
    ExpectAgree(straight, reference::Metrics(edge.labels, edge.rows, edge.cols, h, edge.box, edge.ks), edge.name);
    EXPECT_NEAR(straight.alpha, 1.0, 0.01);
    EXPECT_DOUBLE_EQ(straight.f[3].f, 16.0 / 3985);

    test::Draw d{2016};
    for (int n = 0; n < 300; ++n) {
        const Grid g = Drawn(d, n);
        const double step = d.Between(1e-4, 0.5);
        const LabelMetrics want = reference::Metrics(g.labels, g.rows, g.cols, step, g.box, g.ks);
        ExpectAgree(Fast<std::uint8_t>(g, step), want, g.name + " uint8");
        ExpectAgree(Fast<std::int32_t>(g, step), want, g.name + " int32");
        ExpectAgree(Fast<std::int64_t>(g, step), want, g.name + " int64");
    }
}

TEST(LabelMetrics, RefusesWhatTheDefinitionsExclude) {
    const std::vector<std::uint8_t> six(6);
    struct Row {
        std::size_t rows, cols;
        double step;
        std::int32_t box;
        std::vector<std::int32_t> ks;
        MetricsRefusal why;
    };
    const Row rows[] = {{2, 4, 0.1, 5, {1}, MetricsRefusal::ShapeNotValid},
                        {6, 0, 0.1, 5, {1}, MetricsRefusal::ShapeNotValid},
                        {3, 2, 0.0, 5, {1}, MetricsRefusal::StepNotValid},
                        {3, 2, INFINITY, 5, {1}, MetricsRefusal::StepNotValid},
                        {3, 2, NAN, 5, {1}, MetricsRefusal::StepNotValid},
                        {3, 2, 0.1, 0, {1}, MetricsRefusal::BoxNotValid},
                        {3, 2, 0.1, 5, {0, 1}, MetricsRefusal::DistancesNotValid},
                        {3, 2, 0.1, 5, {2, 2}, MetricsRefusal::DistancesNotValid},
                        {3, 2, 0.1, 5, {4, 1}, MetricsRefusal::DistancesNotValid}};
    for (const Row& r : rows) {
        EXPECT_EQ(CheckMetrics(six.size(), r.rows, r.cols, r.step, r.box, r.ks), r.why);
        EXPECT_THROW(ComputeLabelMetrics<std::uint8_t>(six, r.rows, r.cols, r.step, r.box, r.ks),
                     std::invalid_argument);
    }
}
