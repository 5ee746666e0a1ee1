#include "cli/render_view.h"

#include <QString>

namespace orbitograph {

ViewState ViewFor(const RenderOptions& o) {
    ViewState v;
    v.SetParams(o.params);
    v.m_switches = DisplaySwitches{.m_twoModes = o.panels == PanelChoice::Both,
                                   .m_showParams = !o.noParams,
                                   .m_showLegend = o.legend,
                                   .m_showGrid = o.grid,
                                   .m_aSymmetry = o.aSymmetry,
                                   .m_fontSize = o.fontSize,
                                   .m_fitWindow = o.fit};
    if (o.panels == PanelChoice::Attractors) v.OnShowAttractors();
    if (o.panels == PanelChoice::Basins) v.OnShowBasins();
    v.m_listsOriginX = o.originX;
    v.m_listsOriginY = o.originY;
    const LegendOptions& l = o.legendFields;
    v.m_legend = LegendFields{QString::fromStdString(l.nameHx),
                              QString::fromStdString(l.nameHy),
                              l.maxHx,
                              l.minHx,
                              l.maxHy,
                              l.minHy,
                              QString::fromStdString(l.regionT),
                              QString::fromStdString(l.regionO),
                              QString::fromStdString(l.regionM),
                              QString::fromStdString(l.regionH)};
    return v;
}

}  // namespace orbitograph
