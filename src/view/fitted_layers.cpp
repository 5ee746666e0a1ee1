#include "view/fitted_layers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "model/parallel_for.h"
#include "view/grid_layer.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

QRgb* Row(QImage& canvas, std::int64_t y) { return reinterpret_cast<QRgb*>(canvas.bits() + y * canvas.bytesPerLine()); }

// The canvas's scan lines, taken once before threads share them (QImage's
// own accessors may detach and are not for concurrent use).
struct Raster {
    uchar* bits;
    qsizetype bytesPerLine;
    std::int64_t width;
    std::int64_t height;
    QRgb* Row(std::int64_t y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPerLine); }
};

bool Ready(QImage& canvas) {
    if (canvas.isNull()) return false;
    if (canvas.format() != QImage::Format_ARGB32) canvas.convertTo(QImage::Format_ARGB32);
    return canvas.format() == QImage::Format_ARGB32;
}

// The part of r that lies on the canvas.
PixelRect Clip(const QImage& canvas, const PixelRect& r) {
    const std::int32_t left = std::max(r.left, 0);
    const std::int32_t top = std::max(r.top, 0);
    const std::int32_t right = std::min<std::int64_t>(std::int64_t{r.left} + r.width, canvas.width());
    const std::int32_t bottom = std::min<std::int64_t>(std::int64_t{r.top} + r.height, canvas.height());
    return {left, top, right - left, bottom - top};
}

// The pixel columns [begin, end) of the basin area, counted and painted by
// one thread. Every list is in grid order, so its points of the grid columns
// that a pixel column holds are one run, found by binary search on x.
void BasinColumns(const Raster canvas, const PixelRect area, const std::array<const PointList*, kBasinKinds> lists,
                  const std::array<QRgb, kBasinKinds> colours, const ListGrid grid, const AxisFit across,
                  const AxisFit up, std::int64_t begin, std::int64_t end) {
    const std::int64_t height = area.height;
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(height) * kBasinKinds);
    // Rows of the area (from its bottom) that each grid row covers.
    std::vector<std::int32_t> rowBegin(static_cast<std::size_t>(grid.rows));
    std::vector<std::int32_t> rowEnd(static_cast<std::size_t>(grid.rows));
    for (std::int64_t r = 0; r < grid.rows; ++r) {
        const AxisFit::Run run = up.PixelRun(r);
        rowBegin[static_cast<std::size_t>(r)] = static_cast<std::int32_t>(run.begin);
        rowEnd[static_cast<std::size_t>(r)] = static_cast<std::int32_t>(std::min(run.end, height));
    }
    const auto byX = [](const Point& p, std::int64_t x) { return p.x < x; };
    for (std::int64_t column = begin; column < end; ++column) {
        const std::int64_t x = std::int64_t{area.left} + column;
        if (x < 0 || x >= canvas.width) continue;
        std::fill(counts.begin(), counts.end(), 0u);
        const AxisFit::Run cols = across.GridRun(column);
        for (int k = 0; k < kBasinKinds; ++k) {
            const PointList& list = *lists[static_cast<std::size_t>(k)];
            auto p = std::lower_bound(list.begin(), list.end(), grid.pxFirst + cols.begin, byX);
            const std::int64_t xEnd = grid.pxFirst + cols.end;
            for (; p != list.end() && p->x < xEnd; ++p) {
                const std::int64_t r = grid.pyFirst - p->y;
                if (r < 0 || r >= grid.rows) continue;
                const auto i = static_cast<std::size_t>(r);
                for (std::int32_t q = rowBegin[i]; q < rowEnd[i]; ++q)
                    ++counts[static_cast<std::size_t>(q) * kBasinKinds + static_cast<std::size_t>(k)];
            }
        }
        for (std::int64_t q = 0; q < height; ++q) {
            const std::int64_t y = std::int64_t{area.top} + height - 1 - q;
            if (y < 0 || y >= canvas.height) continue;
            const int kind = MajorityKind(&counts[static_cast<std::size_t>(q) * kBasinKinds]);
            if (kind >= 0) canvas.Row(y)[x] = colours[static_cast<std::size_t>(kind)];
        }
    }
}

// Summary of a run of the kind grid: the kind every byte of it holds, or
// kMixed when they differ.
constexpr std::uint8_t kMixed = 0xFF;

// The kind the n >= 1 bytes from k all hold, or kMixed. Bytes are compared
// eight at a time; a run shorter than eight is read as one word when the
// word lies before end, its excess bytes masked off.
[[gnu::always_inline]] inline std::uint8_t RunKind(const EndKind* k, std::int64_t n, const EndKind* end) {
    const auto first = static_cast<std::uint8_t>(k[0]);
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t all = first * 0x0101'0101'0101'0101ULL;
        std::int64_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, k + i, 8);
            if (w != all) return kMixed;
        }
        if (i == n) return first;
        if (end - (k + i) >= 8) {
            std::uint64_t w;
            std::memcpy(&w, k + i, 8);
            const std::uint64_t mask = (std::uint64_t{1} << (8 * (n - i))) - 1;
            return ((w ^ all) & mask) == 0 ? first : kMixed;
        }
        k += i, n -= i;
    }
    std::uint8_t diff = 0;
    for (std::int64_t i = 0; i < n; ++i) diff |= static_cast<std::uint8_t>(k[i]) ^ first;
    return diff == 0 ? first : kMixed;
}

// The kind (index in tie order) most of the grid points in columns cols
// and rows run of the kind grid hold, or kNoKind.
constexpr std::uint8_t kNoKind = 0xFF;
std::uint8_t CountedKind(const EndKind* kinds, std::size_t rows, AxisFit::Run cols, AxisFit::Run run) {
    using K = EndKind;
    std::uint32_t counts[7] = {};
    for (std::int64_t c = cols.begin; c < cols.end; ++c) {
        const K* k = kinds + static_cast<std::size_t>(c) * rows;
        for (std::int64_t r = run.begin; r < run.end; ++r) ++counts[static_cast<std::size_t>(k[r])];
    }
    auto n = [&counts](K kind) { return counts[static_cast<std::size_t>(kind)]; };
    const std::uint32_t tieOrder[kBasinKinds] = {n(K::Infinity), n(K::Zero), n(K::O), n(K::T), n(K::M), n(K::H)};
    const int kind = MajorityKind(tieOrder);
    return kind >= 0 ? static_cast<std::uint8_t>(kind) : kNoKind;
}

// The same from the kind grid (one byte per grid point, column by column,
// ending at kindsEnd), pixel columns [begin, end) of the area. Each pixel
// column reads its grid columns front to back (the kind grid's own order:
// walking across columns would touch a new page at every step). A pixel
// whose grid points all hold one kind (most pixels of a fine grid) takes it
// after comparisons of whole columns and of words (RunKind); only the others
// are counted. The same picture as counting every pixel: when all its grid
// points hold kind X, X has every vote, and None (no list) leaves the
// background, as a count of zero does. A pixel whose grid runs are those
// of its neighbour below or to the left (a coarse grid) holds the same grid
// points and takes its kind again. The kinds of a few dozen pixel columns
// are gathered and then written row by row.
void KindColumns(const Raster canvas, const PixelRect area, const EndKind* kinds, const EndKind* kindsEnd,
                 const std::array<QRgb, kBasinKinds> colours, const ListGrid grid, const AxisFit across,
                 const AxisFit up, std::int64_t begin, std::int64_t end) {
    // Index in tie order by EndKind (Infinity, Zero, O, H, T, M, None).
    constexpr std::uint8_t tieIndex[7] = {0, 1, 2, 5, 3, 4, kNoKind};
    constexpr std::int64_t kTile = 64;
    const auto rows = static_cast<std::size_t>(grid.rows);
    const std::int64_t height = area.height;
    begin = std::max<std::int64_t>(begin, -std::int64_t{area.left});
    end = std::min<std::int64_t>(end, canvas.width - area.left);
    if (begin >= end) return;
    std::vector<AxisFit::Run> rowRuns(static_cast<std::size_t>(height));
    for (std::int64_t q = 0; q < height; ++q) rowRuns[static_cast<std::size_t>(q)] = up.GridRun(q);
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(height * kTile), kNoKind);
    std::vector<std::uint8_t> merged(rows);
    AxisFit::Run previousCols{-1, -1};
    for (std::int64_t tileBegin = begin; tileBegin < end; tileBegin += kTile) {
        const std::int64_t tileEnd = std::min(end, tileBegin + kTile);
        for (std::int64_t p = tileBegin; p < tileEnd; ++p) {
            std::uint8_t* out = tile.data() + (p - tileBegin);
            const AxisFit::Run cols = across.GridRun(p);
            if (cols == previousCols && p > tileBegin) {
                for (std::int64_t q = 0; q < height; ++q) out[q * kTile] = out[q * kTile - 1];
                continue;
            }
            previousCols = cols;
            // The kind all the pixel column's grid columns hold in each grid
            // row, or kMixed: one pass per grid column that the compiler
            // turns into vector comparisons.
            const EndKind* shared = kinds + static_cast<std::size_t>(cols.begin) * rows;
            const EndKind* sharedEnd = kindsEnd;
            if (cols.end - cols.begin > 1) {
                const auto* first = reinterpret_cast<const std::uint8_t*>(shared);
                std::uint8_t* m = merged.data();
                std::copy(first, first + rows, m);
                for (std::int64_t c = 1; c < cols.end - cols.begin; ++c) {
                    const std::uint8_t* k = first + static_cast<std::size_t>(c) * rows;
                    for (std::size_t r = 0; r < rows; ++r) m[r] = k[r] == m[r] ? m[r] : kMixed;
                }
                shared = reinterpret_cast<const EndKind*>(m);
                sharedEnd = shared + merged.size();
            }
            AxisFit::Run previousRun{-1, -1};
            for (std::int64_t q = 0; q < height; ++q) {
                const AxisFit::Run run = rowRuns[static_cast<std::size_t>(q)];
                if (run == previousRun) {
                    out[q * kTile] = out[(q - 1) * kTile];
                    continue;
                }
                previousRun = run;
                const std::uint8_t same = RunKind(shared + run.begin, run.end - run.begin, sharedEnd);
                out[q * kTile] = same != kMixed ? tieIndex[same] : CountedKind(kinds, rows, cols, run);
            }
        }
        for (std::int64_t q = 0; q < height; ++q) {
            const std::int64_t y = std::int64_t{area.top} + height - 1 - q;
            if (y < 0 || y >= canvas.height) continue;
            QRgb* row = canvas.Row(y) + area.left;
            const std::uint8_t* picks = tile.data() + q * kTile;
            for (std::int64_t p = tileBegin; p < tileEnd; ++p)
                if (const std::uint8_t pick = picks[p - tileBegin]; pick != kNoKind) row[p] = colours[pick];
        }
    }
}

QRgb Blend(QRgb from, QRgb to, double t) {
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return qRgba(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)), mix(qBlue(from), qBlue(to)), 255);
}

}  // namespace

std::array<const PointList*, kBasinKinds> BasinListsInTieOrder(const FractalModel& m) {
    return {&m.basinInfinity, &m.basinZero, &m.basinO, &m.basinT, &m.basinM, &m.basinH};
}

std::array<QRgb, kBasinKinds> BasinColoursInTieOrder() {
    return {kBasinInfinityColour, kBasinZeroColour, kBasinOColour, kBasinTColour, kBasinMColour, kBasinHColour};
}

int MajorityKind(const std::uint32_t* counts) {
    int best = -1;
    std::uint32_t most = 0;
    for (int k = 0; k < kBasinKinds; ++k) {
        if (counts[k] > most) {
            most = counts[k];
            best = k;
        }
    }
    return best;
}

void DrawFittedBasins(QImage& canvas, const PixelRect& area, const FractalModel& model, const ListGrid& grid,
                      int threads) {
    if (area.Empty() || grid.columns < 1 || grid.rows < 1 || !Ready(canvas)) return;
    const auto lists = BasinListsInTieOrder(model);
    const auto colours = BasinColoursInTieOrder();
    const AxisFit across{grid.columns, area.width};
    const AxisFit up{grid.rows, area.height};
    std::size_t points = 0;
    for (const PointList* l : lists) points += l->size();
    if (threads <= 0) {
        // A thread is worth starting only for some hundred thousand points.
        const auto cores = static_cast<std::size_t>(ThreadCount(0));
        threads = static_cast<int>(std::clamp<std::size_t>(points / 200'000, 1, cores));
    }
    threads = std::min({threads, area.width, area.height});
    const Raster raster{canvas.bits(), canvas.bytesPerLine(), canvas.width(), canvas.height()};
    const bool haveKinds = model.kinds.size() == static_cast<std::size_t>(grid.columns * grid.rows);
    // Both are shared out by pixel columns, one part per thread; a thread
    // that cannot be started leaves its part to the others.
    const std::int64_t span = area.width;
    ParallelOptions options;
    options.threads = threads;
    ParallelFor(static_cast<std::size_t>(threads), options, [&](std::size_t part, int) {
        const std::int64_t begin = span * static_cast<std::int64_t>(part) / threads;
        const std::int64_t end = span * static_cast<std::int64_t>(part + 1) / threads;
        if (haveKinds)
            KindColumns(raster, area, model.kinds.data(), model.kinds.data() + model.kinds.size(), colours, grid,
                        across, up, begin, end);
        else
            BasinColumns(raster, area, lists, colours, grid, across, up, begin, end);
    });
}

EndDensity EndPointDensity(const AttractorEnds& ends, std::int32_t side, bool withCopy) {
    const std::size_t cells = side > 0 ? static_cast<std::size_t>(side) * static_cast<std::size_t>(side) : 0;
    EndDensity density{std::vector<std::uint32_t>(cells), std::vector<std::uint32_t>(withCopy ? cells : 0)};
    if (side < 1) return density;
    // Neighbouring start points mostly end in the same pixel: a run of them
    // is added at once rather than by increments that wait on each other.
    auto count = [&ends, side](double sign, std::size_t begin, std::size_t end, std::uint32_t* d) {
        std::size_t last = 0;
        std::uint32_t run = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const std::int32_t c = SquareColumn(sign * ends.x[i], side);
            const std::int32_t r = SquareRow(sign * ends.y[i], side);
            const std::size_t cell =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(side) + static_cast<std::size_t>(c);
            if (cell == last) {
                ++run;
                continue;
            }
            d[last] += run;
            last = cell;
            run = 1;
        }
        d[last] += run;
    };
    // The increments scatter over the whole panel and wait on the cache: for
    // a large set a second thread counts the copy, or without one half of
    // the end points into its own array.
    const std::size_t n = ends.size();
    std::uint32_t* const d = density.ends.data();
    if (n < 500'000 || ThreadCount(0) < 2) {
        count(1.0, 0, n, d);
        if (withCopy) count(-1.0, 0, n, density.copy.data());
        return density;
    }
    std::vector<std::uint32_t> half(withCopy ? 0 : cells);
    ParallelOptions two;
    two.threads = 2;
    ParallelFor(2, two, [&](std::size_t part, int) {
        if (part == 0)
            count(1.0, 0, withCopy ? n : n / 2, d);
        else if (withCopy)
            count(-1.0, 0, n, density.copy.data());
        else
            count(1.0, n / 2, n, half.data());
    });
    for (std::size_t i = 0; i < half.size(); ++i) d[i] += half[i];
    return density;
}

void DrawDensity(QImage& canvas, const PixelRect& square, const std::vector<std::uint32_t>& density, QRgb background,
                 QRgb colour) {
    if (square.Empty() || !Ready(canvas)) return;
    const std::int64_t side = square.width;
    if (density.size() != static_cast<std::size_t>(side * side)) return;
    const std::uint32_t most = *std::max_element(density.begin(), density.end());
    if (most == 0) return;
    const double scale = 1.0 / std::log1p(static_cast<double>(most));
    // Small counts are by far the most frequent: their shades are made once.
    std::vector<QRgb> shade(std::min<std::size_t>(most, 4096) + 1);
    for (std::size_t n = 1; n < shade.size(); ++n) shade[n] = Blend(background, colour, std::log1p(double(n)) * scale);
    const PixelRect clip = Clip(canvas, square);
    for (std::int64_t y = clip.top; y < clip.top + clip.height; ++y) {
        QRgb* row = Row(canvas, y);
        const std::uint32_t* d = &density[static_cast<std::size_t>((y - square.top) * side)];
        for (std::int64_t x = clip.left; x < clip.left + clip.width; ++x) {
            const std::uint32_t n = d[x - square.left];
            if (n == 0) continue;
            row[x] = n < shade.size() ? shade[n] : Blend(background, colour, std::log1p(double(n)) * scale);
        }
    }
}

namespace {

void Lines(QImage& canvas, const PixelRect& r, const std::vector<std::int64_t>& columns,
           const std::vector<std::int64_t>& rows) {
    if (r.Empty() || !Ready(canvas)) return;
    const PixelRect c = Clip(canvas, r);
    if (c.Empty()) return;
    for (const std::int64_t x : columns) {
        if (x < c.left || x >= c.left + c.width) continue;
        for (std::int64_t y = c.top; y < c.top + c.height; ++y) Row(canvas, y)[x] = kGridColour;
    }
    for (const std::int64_t y : rows) {
        if (y < c.top || y >= c.top + c.height) continue;
        std::fill(Row(canvas, y) + c.left, Row(canvas, y) + c.left + c.width, kGridColour);
    }
}

}  // namespace

void DrawFittedAttractorGrid(QImage& canvas, const PixelRect& square) {
    std::vector<std::int64_t> columns;
    std::vector<std::int64_t> rows;
    for (int i = -2; i <= 2; ++i) {
        columns.push_back(std::int64_t{square.left} + SquareColumn(i, square.width));
        rows.push_back(std::int64_t{square.top} + SquareRow(i, square.height));
    }
    Lines(canvas, square, columns, rows);
}

void DrawFittedBasinGrid(QImage& canvas, const PixelRect& area, const ModelParams& p, const ListGrid& grid) {
    if (grid.columns < 1 || grid.rows < 1) return;
    std::vector<std::int64_t> columns;
    std::vector<std::int64_t> rows;
    for (int i = -2; i <= 2; ++i) {
        const double across = std::floor((i - p.x1) / p.step * area.width / static_cast<double>(grid.columns));
        const double up = std::floor((i - p.y1) / p.step * area.height / static_cast<double>(grid.rows));
        // A line on the far edge of the last cell is drawn on its last pixel.
        if (across >= 0 && across <= area.width)
            columns.push_back(area.left + std::min<std::int64_t>(static_cast<std::int64_t>(across), area.width - 1));
        if (up >= 0 && up <= area.height)
            rows.push_back(area.top + area.height - 1 -
                           std::min<std::int64_t>(static_cast<std::int64_t>(up), area.height - 1));
    }
    Lines(canvas, area, columns, rows);
}

}  // namespace orbitograph
