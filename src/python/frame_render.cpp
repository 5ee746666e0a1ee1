#include "python/frame_render.h"

#include <QString>
#include <stdexcept>

#include "cli/option_table.h"
#include "cli/picture_file.h"
#include "cli/render_view.h"
#include "legend/legend_picture.h"
#include "model/grid_labels.h"
#include "view/frame.h"
#include "view/point_layers.h"

namespace orbitograph::python {

std::vector<std::pair<std::string, bool>> PictureOptions() {
    std::vector<std::pair<std::string, bool>> names;
    for (const CommandOption& option : OptionTable()) {
        if (option.section != CommandOption::Section::Picture || option.name == "--size") continue;
        names.emplace_back(std::string(option.name.substr(2)), !option.argument.empty());
    }
    return names;
}

std::vector<std::pair<int, std::uint32_t>> BasinColours() {
    return {{kLabelInfinity, kBasinInfinityColour},
            {kLabelZero, kBasinZeroColour},
            {kLabelT, kBasinTColour},
            {kLabelO, kBasinOColour},
            {kLabelM, kBasinMColour},
            {kLabelH, kBasinHColour}};
}

RenderOptions ParsePictureOptions(const GridData& grid, const std::vector<std::string>& args) {
    OptionsResult parsed = ParseRenderOptions(args);
    if (!parsed.options) throw std::invalid_argument(parsed.error);
    RenderOptions o = std::move(*parsed.options);
    o.params = grid.model.Params();
    return o;
}

bool ListsFitOrigin(const GridData& grid, const RenderOptions& o) {
    return o.originX == grid.listsOriginX && o.originY == grid.listsOriginY;
}

QImage DrawFrame(GridData& grid, const RenderOptions& o, const std::string& moduleDir) {
    QImage legendPicture;
    if (o.legendPicture.empty()) {
        legendPicture = LoadLegendPicture(QString::fromStdString(moduleDir));
    } else {
        std::string why;
        legendPicture = ReadPictureFile(o.legendPicture, why);
        if (legendPicture.isNull())
            throw std::invalid_argument("legend_picture: cannot read " + Quoted(o.legendPicture) + ": " + why);
    }
    ViewState view = ViewFor(o);
    const QImage canvas =
        ComposeFrame(view, grid.model, o.width, o.height, legendPicture.isNull() ? nullptr : &legendPicture);
    if (canvas.isNull()) throw std::bad_alloc();
    return canvas.convertToFormat(QImage::Format_RGBA8888);
}

}  // namespace orbitograph::python
