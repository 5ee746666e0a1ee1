#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>

#include "legend/legend_fields.h"

namespace orbitograph {

// The legend's font size in pixels; the parameter text's size setting does
// not apply to it.
inline constexpr int kLegendFontSize = 13;
inline constexpr QRgb kLegendTextColour = 0xFF000000;

// The ten texts of the panel in drawing order, after the picture.
enum class LegendItem { NameHy, NameHx, MaxHx, MinHx, MaxHy, MinHy, RegionT, RegionO, RegionM, RegionH };
inline constexpr int kLegendItemCount = 10;

// Canvas positions of one panel, pixels. The picture's top-left corner and
// each text's top-left corner; positions may be negative (partly or wholly
// off the canvas).
struct LegendLayout {
    QPoint picture;
    std::array<QPoint, kLegendItemCount> text;
};

// Lays the panel out for a picture of pictureWidth x pictureHeight pixels
// (0 x 0 when there is none) in a client area clientHeight pixels high: the
// picture's top lies 400 pixels above the client's bottom. The x positions of
// Hx's name and maximum follow the picture's height, the y positions of the
// region lines its width.
LegendLayout LayOutLegend(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t clientHeight);

// The text of one item: names as given, values "%.2f" with a point, region
// lines with their prefix ("Область Т = ", Cyrillic Т and О, Latin M and H).
QString LegendText(const LegendFields& fields, LegendItem item);

// Draws the panel onto the canvas: the picture unscaled (if not null), then
// the ten texts in black Arial 13 px. clientHeight is the client area's
// height (bottom - top). Nothing is reported; what lies off the canvas is
// clipped.
void DrawLegend(QImage& canvas, const LegendFields& fields, const QImage* picture, std::int32_t clientHeight);

}  // namespace orbitograph
