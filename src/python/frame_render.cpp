#include "python/frame_render.h"

#include <QString>
#include <stdexcept>

#include "model/grid_labels.h"
#include "request/picture_file.h"
#include "request/request_view.h"
#include "view/point_layers.h"

namespace orbitograph::python {

std::vector<std::pair<std::string, std::string>> DisplayOptions() {
    const char* const kinds[] = {"flag", "integer", "real", "text", "pair"};
    std::vector<std::pair<std::string, std::string>> options;
    for (const FrameOption& row : FrameOptions()) {
        if (!row.param) options.emplace_back(row.keyword, kinds[static_cast<int>(row.kind)]);
    }
    return options;
}

const FrameOption* DisplayOption(const std::string& keyword) {
    for (const FrameOption& row : FrameOptions()) {
        if (!row.param && row.keyword == keyword) return &row;
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
        if (!v.row->set(r, v.value, error)) throw std::invalid_argument(error);
    }
    return r;
}

bool ListsFitOrigin(const GridData& grid, const Request& r) {
    return r.Origin() == PixelPoint{grid.listsOriginX, grid.listsOriginY};
}

QImage DrawGridFrame(GridData& grid, const Request& r, const std::string& moduleDir) {
    std::string why;
    const QImage legendPicture = LegendPictureFor(r.display, QString::fromStdString(moduleDir), why);
    if (!why.empty()) throw std::invalid_argument("legend_picture: " + why);
    const QImage canvas = DrawFrame(r, grid.model, legendPicture.isNull() ? nullptr : &legendPicture);
    if (canvas.isNull()) throw std::bad_alloc();
    return canvas.convertToFormat(QImage::Format_RGBA8888);
}

}  // namespace orbitograph::python
