#include "legend/legend_panel.h"

#include <QPainter>

#include "draw/pixel_font.h"
#include "model/number_text.h"

namespace orbitograph {

LegendLayout LayOutLegend(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t clientHeight) {
    // 64-bit intermediates: any client height and picture size give a
    // position without overflow; QPoint holds 32-bit values, which every
    // realistic canvas and picture size fits.
    const std::int64_t d = std::int64_t{clientHeight} - 400;
    const std::int64_t W = pictureWidth;
    const std::int64_t H = pictureHeight;
    const std::int64_t w2 = W / 2;
    const std::int64_t h2 = H / 2;
    auto at = [](std::int64_t x, std::int64_t y) { return QPoint(static_cast<int>(x), static_cast<int>(y)); };

    LegendLayout l;
    l.picture = at(15, d);
    l.text[static_cast<int>(LegendItem::NameHy)] = at(w2 + 4, d + 16);
    l.text[static_cast<int>(LegendItem::NameHx)] = at(H - 14, h2 + d + 24);
    l.text[static_cast<int>(LegendItem::MaxHx)] = at(H - 45, h2 + d + 14);
    l.text[static_cast<int>(LegendItem::MinHx)] = at(w2 + 2, h2 + d + 14);
    l.text[static_cast<int>(LegendItem::MaxHy)] = at(w2 + 2, d + 34);
    l.text[static_cast<int>(LegendItem::MinHy)] = at(w2 + 2, h2 + d - 7);
    l.text[static_cast<int>(LegendItem::RegionT)] = at(15, W + d + 1);
    l.text[static_cast<int>(LegendItem::RegionO)] = at(15, W + d + 15);
    l.text[static_cast<int>(LegendItem::RegionM)] = at(15, W + d + 30);
    l.text[static_cast<int>(LegendItem::RegionH)] = at(15, W + d + 45);
    return l;
}

QString LegendText(const LegendFields& f, LegendItem item) {
    auto value = [](double v) { return QString::fromStdString(FormatFixed(v, 2)); };
    switch (item) {
        case LegendItem::NameHy: return f.m_nameHy;
        case LegendItem::NameHx: return f.m_nameHx;
        case LegendItem::MaxHx: return value(f.m_maxHx);
        case LegendItem::MinHx: return value(f.m_minHx);
        case LegendItem::MaxHy: return value(f.m_maxHy);
        case LegendItem::MinHy: return value(f.m_minHy);
        // Cyrillic Т (U+0422) and О (U+041E), Latin M and H.
        case LegendItem::RegionT: return QStringLiteral(u"Область \u0422 = ") + f.m_regionT;
        case LegendItem::RegionO: return QStringLiteral(u"Область \u041E = ") + f.m_regionO;
        case LegendItem::RegionM: return QStringLiteral(u"Область M = ") + f.m_regionM;
        case LegendItem::RegionH: return QStringLiteral(u"Область H = ") + f.m_regionH;
    }
    return {};
}

void DrawLegend(QImage& canvas, const LegendFields& fields, const QImage* picture, std::int32_t clientHeight) {
    if (canvas.isNull()) return;
    const bool hasPicture = picture != nullptr && !picture->isNull();
    const LegendLayout layout =
        LayOutLegend(hasPicture ? picture->width() : 0, hasPicture ? picture->height() : 0, clientHeight);

    QPainter painter(&canvas);
    if (hasPicture) painter.drawImage(layout.picture, *picture);
    painter.setFont(ArialPixelFont(kLegendFontSize));
    painter.setPen(QColor::fromRgba(kLegendTextColour));
    for (int i = 0; i < kLegendItemCount; ++i) {
        const QString text = LegendText(fields, static_cast<LegendItem>(i));
        if (!text.isEmpty()) DrawTextAt(painter, layout.text[i].x(), layout.text[i].y(), text);
    }
}

}  // namespace orbitograph
