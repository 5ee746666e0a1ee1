#include "cli/render_view.h"

#include <QString>

namespace orbitograph {

ViewState ViewFor(const RenderOptions& o) {
    ViewState v;
    v.SetParams(o.params);
    v.m_twoModes = o.panels == PanelChoice::Both ? 1 : 0;
    if (o.panels == PanelChoice::Attractors) v.OnShowAttractors();
    if (o.panels == PanelChoice::Basins) v.OnShowBasins();
    v.m_showParams = o.noParams ? 0 : 1;
    v.m_showGrid = o.grid ? 1 : 0;
    v.m_showLegend = o.legend ? 1 : 0;
    v.m_aSymmetry = o.aSymmetry ? 1 : 0;
    v.m_fontSize = o.fontSize;
    v.m_fitWindow = o.fit ? 1 : 0;
    v.m_listsOriginX = o.originX;
    v.m_listsOriginY = o.originY;
    const LegendOptions& l = o.legendFields;
    v.m_nameHx = QString::fromStdString(l.nameHx);
    v.m_nameHy = QString::fromStdString(l.nameHy);
    v.m_maxHx = l.maxHx;
    v.m_minHx = l.minHx;
    v.m_maxHy = l.maxHy;
    v.m_minHy = l.minHy;
    v.m_regionT = QString::fromStdString(l.regionT);
    v.m_regionO = QString::fromStdString(l.regionO);
    v.m_regionM = QString::fromStdString(l.regionM);
    v.m_regionH = QString::fromStdString(l.regionH);
    return v;
}

}  // namespace orbitograph
