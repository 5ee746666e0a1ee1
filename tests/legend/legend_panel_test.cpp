#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

#include "legend/legend_panel.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

struct Text {
    int x, y;
    QString text;
};

// The panel as it must look, drawn independently: the picture at its corner,
// each text in black 13-pixel Arial with its layout box's top-left corner at
// the given point.
QImage Expected(int height, const QImage* picture, QPoint pictureAt, const std::vector<Text>& texts) {
    QImage img = Blank(400, height);
    QPainter p(&img);
    if (picture) p.drawImage(pictureAt, *picture);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    for (const Text& t : texts) {
        p.drawText(QRectF(t.x, t.y, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, t.text);
    }
    return img;
}

LegendFields Named() {
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
    return f;
}

}  // namespace

TEST(LegendPanel, PositionsForClientHeights) {
    const QImage picture(QStringLiteral(ORBITOGRAPH_RESOURCES "/bitmap3.bmp"));
    ASSERT_EQ(picture.size(), QSize(260, 260));
    const LegendFields f = Named();
    // d = height - 400; with the 260 x 260 picture the texts lie at these
    // offsets from the picture's corner (15, d).
    for (int height : {900, 400, 200, 100}) {
        const int d = height - 400;
        const std::vector<Text> texts{
            {134, d + 16, QStringLiteral("риск")},
            {246, d + 154, QStringLiteral("доход")},
            {215, d + 144, QStringLiteral("1234.57")},
            {132, d + 144, QStringLiteral("-0.50")},
            {132, d + 34, QStringLiteral("0.00")},
            {132, d + 123, QStringLiteral("-0.00")},
            {15, d + 261, QStringLiteral(u"Область \u0422 = тыл")},
            {15, d + 275, QStringLiteral(u"Область \u041E = обход")},
            {15, d + 290, QStringLiteral("Область M = мост")},
            {15, d + 305, QStringLiteral("Область H = холм")},
        };
        QImage canvas = Blank(400, height);
        DrawLegend(canvas, f, &picture, height);
        EXPECT_EQ(canvas, Expected(height, &picture, QPoint(15, d), texts)) << "height " << height;
    }
}

TEST(LegendPanel, WithoutAPicture) {
    const LegendFields f = Named();
    for (int height : {900, 400}) {
        const int d = height - 400;
        // W = H = 0: the name and maximum of Hx fall left of the canvas.
        const std::vector<Text> texts{
            {4, d + 16, QStringLiteral("риск")},
            {-14, d + 24, QStringLiteral("доход")},
            {-45, d + 14, QStringLiteral("1234.57")},
            {2, d + 14, QStringLiteral("-0.50")},
            {2, d + 34, QStringLiteral("0.00")},
            {2, d - 7, QStringLiteral("-0.00")},
            {15, d + 1, QStringLiteral(u"Область \u0422 = тыл")},
            {15, d + 15, QStringLiteral(u"Область \u041E = обход")},
            {15, d + 30, QStringLiteral("Область M = мост")},
            {15, d + 45, QStringLiteral("Область H = холм")},
        };
        QImage none = Blank(400, height);
        DrawLegend(none, f, nullptr, height);
        EXPECT_EQ(none, Expected(height, nullptr, {}, texts)) << height;
        const QImage nullPicture;
        QImage empty = Blank(400, height);
        DrawLegend(empty, f, &nullPicture, height);
        EXPECT_EQ(empty, none);
    }
}

TEST(LegendPanel, LayoutFollowsThePictureSize) {
    struct Row {
        int w, h, clientHeight;
        LegendItem item;
        QPoint at;
    } rows[] = {
        {260, 260, 900, LegendItem::NameHy, {134, 516}},
        {261, 261, 400, LegendItem::NameHy, {134, 16}},        // w2 = 130
        {261, 261, 400, LegendItem::MinHy, {132, 123}},        // h2 = 130: 130 + 0 - 7
        {300, 200, 400, LegendItem::NameHx, {186, 124}},       // x from the height H
        {300, 200, 400, LegendItem::MaxHx, {155, 114}},
        {300, 200, 400, LegendItem::RegionT, {15, 301}},       // y from the width W
        {300, 200, 400, LegendItem::RegionH, {15, 345}},
        {260, 260, 200, LegendItem::RegionT, {15, 61}},
        {260, 260, 200, LegendItem::RegionO, {15, 75}},
        {260, 260, 200, LegendItem::RegionM, {15, 90}},
        {260, 260, 200, LegendItem::RegionH, {15, 105}},
    };
    for (const Row& r : rows) {
        const LegendLayout l = LayOutLegend(r.w, r.h, r.clientHeight);
        EXPECT_EQ(l.picture, QPoint(15, r.clientHeight - 400));
        EXPECT_EQ(l.text[static_cast<int>(r.item)], r.at) << r.w << "x" << r.h << " item " << static_cast<int>(r.item);
    }
}

TEST(LegendPanel, Texts) {
    LegendFields f;
    struct Row {
        double v;
        const char* text;
    } values[] = {{0.0, "0.00"}, {-0.5, "-0.50"}, {1234.567, "1234.57"}, {0.125, "0.12"}, {-1e-9, "-0.00"},
                  {1e6, "1000000.00"}};
    for (const Row& r : values) {
        f.m_maxHx = r.v;
        EXPECT_EQ(LegendText(f, LegendItem::MaxHx), QString::fromLatin1(r.text));
    }
}
