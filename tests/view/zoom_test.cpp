#include <gtest/gtest.h>

#include "model/number_text.h"
#include "model/orbit.h"
#include "view/fitted_frame.h"
#include "view/readout.h"
#include "view/zoom.h"
#include "view_test_support.h"

using namespace orbitograph;

TEST(Zoom, NewRectangleAndStepOrRefusal) {
    const ModelParams wide{.y1 = 0.0, .y2 = 0.01, .step = 0.0001};  // 40000 x 101 grid points
    struct Row {
        const char* what;
        ModelParams from;
        ZoomBox box;
        bool keepDetail;
        std::optional<ModelParams> expected;  // step NaN: any that keeps the longer side's grid points
        const char* refusal;
    };
    auto params = [](double x1, double x2, double y1, double y2, double step) {
        return ModelParams{.x1 = x1, .x2 = x2, .y1 = y1, .y2 = y2, .step = step};
    };
    const double any = std::nan("");
    const Row rows[] = {
        {"the step kept", {}, {0.5, -1.0, 1.0, 0.0}, false, params(-1, 0.5, 0, 1, 0.01), ""},
        {"clamped to the square", {}, {-3.0, 1.0, 1.5, 2.5}, false, params(-2, 1, 1.5, 2, 0.01), ""},
        {"the detail kept", {}, {-1.0, 1.0, -0.5, 0.5}, true, params(-1, 1, -0.5, 0.5, any), ""},
        {"the detail kept on the taller side", {}, {0.0, 0.1, 0.0, 0.3}, true, params(0, 0.1, 0, 0.3, any), ""},
        {"an empty box", {}, {0.3, 0.3, 0.0, 1.0}, true, std::nullopt, ""},
        {"the same rectangle", {}, {-2.0, 2.0, -2.0, 2.0}, false, std::nullopt, ""},
        {"out beyond the whole square", {}, {-6.0, 6.0, -6.0, 6.0}, true, std::nullopt, "показан весь квадрат"},
        {"a step below the smallest", {}, {0.0, 1e-7, 0.0, 1e-7}, true, std::nullopt, "шаг стал бы меньше"},
        {"too many start points", wide, {0.0, 1.0, 0.0, 1.0}, true, std::nullopt, "превысила бы 100000000"},
    };
    for (const Row& r : rows) {
        const ZoomResult z = ZoomTo(r.from, r.box, r.keepDetail);
        EXPECT_NE(z.refusal.find(r.refusal), std::string::npos) << r.what << ": " << z.refusal;
        EXPECT_EQ(z.refusal.empty(), *r.refusal == '\0') << r.what;
        ASSERT_EQ(z.params.has_value(), r.expected.has_value()) << r.what;
        if (!z.params) continue;
        ModelParams want = *r.expected;
        if (std::isnan(want.step)) {
            EXPECT_EQ(std::max(CountColumns(*z.params), CountRows(*z.params)), 400) << r.what;
            want.step = z.params->step;
        }
        EXPECT_TRUE(*z.params == want) << r.what;
    }
    const ZoomBox in = ScaledBox(ModelParams{}, 1.0, 1.0, 2.0);
    EXPECT_EQ(std::tie(in.xa, in.xb, in.ya, in.yb), std::make_tuple(-0.5, 1.5, -0.5, 1.5));
}

TEST(Zoom, HistoryStepsBackForwardAndHome) {
    auto at = [](double x1) { return ModelParams{.x1 = x1}; };
    ParamHistory h;
    EXPECT_FALSE(h.Back());
    h.Push(at(-2), false);
    h.Push(at(-1), true);
    h.Push(at(0), true);
    ASSERT_EQ(h.Back(), at(-1));
    h.MoveBack();
    ASSERT_EQ(h.Back(), at(-2));
    ASSERT_EQ(h.Forward(), at(0));
    h.MoveBack();
    EXPECT_FALSE(h.Back());
    EXPECT_FALSE(h.Home());  // already the area the zooms started from
    h.MoveForward();
    h.Push(at(1), true);  // drops the set after the shown one
    EXPECT_EQ(h.Size(), 3u);
    EXPECT_FALSE(h.Forward());
    ASSERT_EQ(h.Home(), at(-2));
    h.MoveHome();
    EXPECT_EQ(h.Shown(), 0u);
    h.Push(at(0.5), false);
    h.Push(at(1.5), true);
    EXPECT_EQ(h.Home(), at(0.5));  // the last set from the dialog
}

TEST(Zoom, ReadoutOfTheFirstGridPointInBothDisplays) {
    ViewState v;
    v.m_clientRect = {0, 0, 1000, 700};
    v.m_listsOriginX = 500;
    v.m_listsOriginY = 350;
    const FractalModel m = test::ComputedAtCentre({}, true);
    EndCounts counts;
    const State end = IterateOrbit(MapParams::From(ModelParams{}), State{-2.0, -2.0});
    const QString expected =
        QStringLiteral(
            "Бассейны: x = -2, y = -2; точка сетки (-2, -2): орбита уходит в бесконечность "
            "(розовый цвет), конец (%1, %2)")
            .arg(QString::fromStdString(FormatGeneral(end.x, 17)), QString::fromStdString(FormatGeneral(end.y, 17)));
    // The classic display: start point (-2, -2) at (500 - 200 + 220, 350 + 200).
    EXPECT_EQ(ReadoutText(v, m, counts, 520, 550), expected);
    EXPECT_EQ(ReadoutText(v, m, counts, 519, 550), QString());  // left of the grid
    // Fitted: the area's bottom-left pixel holds it; its centre is the model point.
    v.m_switches.m_fitWindow = true;
    EXPECT_TRUE(ReadoutText(v, m, counts, 520, 584).endsWith(expected.mid(expected.indexOf(';'))));
    EXPECT_TRUE(ReadoutText(v, m, counts, 200, 300).startsWith(QStringLiteral("Аттракторы: x = ")));

    // The attractor panel counts the orbits ending in the pixel as a walk
    // over every end point does, in both displays (fitted: the exact ends).
    const PixelRect sq = FittedLayoutOf(v).attractorSquare;
    for (const bool fitted : {true, false}) {
        v.m_switches.m_fitWindow = fitted;
        auto at = [&](std::size_t i) {
            const double x = m.attractorEnds.x[i], y = m.attractorEnds.y[i];
            return fitted ? QPoint(sq.left + SquareColumn(x, sq.width), sq.top + SquareRow(y, sq.width))
                          : QPoint(m.attractors[i].x - 220, m.attractors[i].y);
        };
        for (const std::size_t i : {std::size_t{0}, m.attractors.size() / 2}) {
            std::int64_t n = 0;
            for (std::size_t j = 0; j < m.attractors.size(); ++j) n += at(j) == at(i);
            EXPECT_TRUE(ReadoutText(v, m, counts, at(i).x(), at(i).y()).endsWith(QStringLiteral("здесь: %1").arg(n)));
        }
    }
}
