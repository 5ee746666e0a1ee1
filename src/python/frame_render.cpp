#include "python/frame_render.h"

#include <QString>
#include <iterator>
#include <mutex>
#include <stdexcept>

#include "model/grid_labels.h"
#include "request/picture_file.h"
#include "request/request_view.h"
#include "view/point_layers.h"

namespace orbitograph::python {

std::vector<std::pair<std::string, std::string>> DisplayOptions() {
    const char* const kinds[] = {"flag", "integer", "real", "text", "pair", "real pair"};
    static_assert(std::size(kinds) == static_cast<std::size_t>(ValueKind::RealPair) + 1);
    std::vector<std::pair<std::string, std::string>> options;
    for (const FrameOption& row : FrameOptions()) {
        if (!row.param && row.set) options.emplace_back(row.keyword, kinds[static_cast<int>(row.kind)]);
    }
    return options;
}

const FrameOption* DisplayOption(const std::string& keyword) {
    for (const FrameOption& row : FrameOptions()) {
        if (!row.param && row.set && row.keyword == keyword) return &row;
    }
    return nullptr;
}

std::vector<std::pair<int, std::uint32_t>> BasinColours() {
    return {{kLabelInfinity, kBasinInfinityColour},
            {kLabelZero, kBasinZeroColour},
            {kLabelT, kBasinTColour},
            {kLabelO, kBasinOColour},
            {kLabelM, kBasinMColour},
            {kLabelH, kBasinHColour}};
}

Request RequestFor(const GridData& grid, const std::vector<DisplayValue>& values) {
    Request r;
    r.params = grid.model.Params();
    for (const DisplayValue& v : values) {
        std::string error;
        if (v.row->set(r, v.value, error)) continue;
        // The refusal names the command's option; the caller wrote the keyword.
        if (error.starts_with(v.row->name)) error.replace(0, v.row->name.size(), v.row->keyword);
        throw std::invalid_argument(error);
    }
    r.attractorDelta = grid.attractorDelta;
    if (r.display.colourBy != BasinColouring::Kinds && !grid.analysed)
        throw std::invalid_argument("colour_by: the result holds no analysis; compute it with analysis=True");
    return r;
}

bool ListsFitOrigin(const GridData& grid, const Request& r) {
    return r.Origin() == PixelPoint{grid.listsOriginX, grid.listsOriginY};
}

QImage DrawGridFrame(GridData& grid, const Request& r, const std::string& moduleDir, const std::atomic<bool>* cancel) {
    std::string why;
    const QImage legendPicture = LegendPictureFor(r.display, QString::fromStdString(moduleDir), why);
    if (!why.empty()) throw std::invalid_argument("legend_picture: " + why);
    const std::lock_guard<std::mutex> lock(*grid.drawing);
    const QImage canvas = DrawFrame(r, grid.model, legendPicture.isNull() ? nullptr : &legendPicture, cancel);
    if (cancel != nullptr && cancel->load()) return {};
    if (canvas.isNull()) throw std::bad_alloc();
    return canvas.convertToFormat(QImage::Format_RGBA8888);
}

}  // namespace orbitograph::python
