#include <gtest/gtest.h>

#include "model/fractal_model.h"

using namespace orbitograph;

TEST(Report, DefaultsByteForByte) {
    FractalModel m;
    m.SetParams({});
    m.originX = 500;
    m.originY = 350;
    ASSERT_EQ(m.Compute(), ComputeStatus::Done);
    // A, C, Dc, Kc, N and h are Latin letters.
    const ReportLines expected = {
        "Параметры и исходные данные модели:",
        "Параметр A=0.800000",
        "Внешнее воздействие (C):",
        "Направление воздействия Dc: во вне",
        "Направление воздействия Kc: внутрь",
        "Dc = 0.500000    Kc=0.800000",
        "Число итераций (N)=10",
        "Шаг (h)=0.01",
        "\n",
        "Пространство аттракторов:",
        // Cyrillic region letters: Т U+0422, О U+041E, М U+041C, Н U+041D.
        "аттракторы лежат в областях \u0422\u041E\u041C\u041D (черный цвет точек)=14640",
        "\n",
        "Пространство бассейнов:",
        "серый цвет бассейна - его аттракторы стремятся к нулю=0",
        "розовый цвет бассейна - его аттракторы лежат в бесконечности=145360",
        "зеленый цвет бассейна - его аттракторы лежат в области \u0422=10088",
        "красный цвет бассейна - его аттракторы лежат в области \u041E=4412",
        "голубой цвет бассейна - его аттракторы лежат в области \u041C=140",
        "оранжевый цвет бассейна - его аттракторы лежат в области \u041D=0",
    };
    EXPECT_EQ(m.report, expected);
}

TEST(Report, NumberFormats) {
    const std::tuple<ModelParams, std::size_t, const char*> rows[] = {
        {{.step = 0.001}, 7, "Шаг (h)=0.00"},
        {{.step = 0.005}, 7, "Шаг (h)=0.01"},
        {{.dc = -0.5, .kc = 1234.5678909}, 5, "Dc = -0.500000    Kc=1234.567891"},
        {{.dcOutward = 0, .kcOutward = 1}, 3, "Направление воздействия Dc: внутрь"},
        {{.dcOutward = 0, .kcOutward = 1}, 4, "Направление воздействия Kc: во вне"},
    };
    for (const auto& [p, line, text] : rows) EXPECT_EQ(BuildReport(p, {})[line], text);
}
