#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

#include "legend/legend_panel.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

using Positions = std::array<QPoint, kLegendItemCount>;

// The panel as it must look, drawn independently: the picture at (15, d),
// each text in black 13-pixel Arial with its layout box's top-left corner at
// its position below (0, d), where d = height - 400.
QImage Expected(int height, const QImage* picture, const Positions& at) {
    const int d = height - 400;
    const QString texts[] = {"риск",
                             "доход",
                             "1234.57",
                             "-0.50",
                             "0.00",
                             "-0.00",
                             QStringLiteral(u"Область \u0422 = тыл"),
                             QStringLiteral(u"Область \u041E = обход"),
                             "Область M = мост",
                             "Область H = холм"};
    QImage img = Blank(400, height);
    QPainter p(&img);
    if (picture) p.drawImage(QPoint(15, d), *picture);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    for (int i = 0; i < kLegendItemCount; ++i)
        p.drawText(QRectF(at[i].x(), at[i].y() + d, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, texts[i]);
    return img;
}

}  // namespace

TEST(LegendPanel, PositionsForClientHeights) {
    const QImage picture(QStringLiteral(ORBITOGRAPH_RESOURCES "/bitmap3.bmp")), none;
    ASSERT_EQ(picture.size(), QSize(260, 260));
    LegendFields f;
    f.m_nameHx = QStringLiteral("доход");
    f.m_nameHy = QStringLiteral("риск");
    f.m_maxHx = 1234.567;
    f.m_minHx = -0.5;
    f.m_maxHy = 0.0;
    f.m_minHy = -0.004;
    f.m_regionT = QStringLiteral("тыл");
    f.m_regionO = QStringLiteral("обход");
    f.m_regionM = QStringLiteral("мост");
    f.m_regionH = QStringLiteral("холм");
    const Positions withPicture = {{{134, 16},
                                    {246, 154},
                                    {215, 144},
                                    {132, 144},
                                    {132, 34},
                                    {132, 123},
                                    {15, 261},
                                    {15, 275},
                                    {15, 290},
                                    {15, 305}}};
    // Without a picture W = H = 0: the name and maximum of Hx fall left of the canvas.
    const Positions bare = {
        {{4, 16}, {-14, 24}, {-45, 14}, {2, 14}, {2, 34}, {2, -7}, {15, 1}, {15, 15}, {15, 30}, {15, 45}}};
    const std::tuple<const QImage*, std::vector<int>, const Positions&> rows[] = {
        {&picture, {900, 400, 200, 100}, withPicture}, {nullptr, {900, 400}, bare}, {&none, {900, 400}, bare}};
    for (const auto& [pic, heights, at] : rows) {
        for (int height : heights) {
            QImage canvas = Blank(400, height);
            DrawLegend(canvas, f, pic, height);
            EXPECT_EQ(canvas, Expected(height, pic, at)) << "height " << height << " " << pic;
        }
    }
}

TEST(LegendPanel, LayoutFollowsThePictureSize) {
    const std::tuple<int, int, int, LegendItem, QPoint> rows[] = {
        {261, 261, 400, LegendItem::MinHy, {132, 123}},   // h2 = 130: 130 + 0 - 7
        {300, 200, 400, LegendItem::NameHx, {186, 124}},  // x from the height H
        {300, 200, 700, LegendItem::RegionH, {15, 645}},  // y from the width W
    };
    for (const auto& [w, h, clientHeight, item, at] : rows) {
        const LegendLayout l = LayOutLegend(w, h, clientHeight);
        EXPECT_EQ(l.picture, QPoint(15, clientHeight - 400));
        EXPECT_EQ(l.text[static_cast<int>(item)], at) << w << "x" << h << " item " << static_cast<int>(item);
    }
    LegendFields f;
    for (auto [v, text] : {std::pair(0.125, "0.12"), std::pair(1e6, "1000000.00"), std::pair(-1e-9, "-0.00")}) {
        f.m_maxHx = v;
        EXPECT_EQ(LegendText(f, LegendItem::MaxHx), QString::fromLatin1(text));
    }
}
