#include "request/request_view.h"

#include "request/description.h"
#include "view/frame.h"

namespace orbitograph {

namespace {

std::int32_t On(bool b) { return b ? 1 : 0; }

std::optional<AnalysisColumn> ColumnOf(BasinColouring c) {
    switch (c) {
        case BasinColouring::Kinds: break;
        case BasinColouring::Attractor: return AnalysisColumn::Attractor;
        case BasinColouring::ExitStep: return AnalysisColumn::ExitStep;
        case BasinColouring::Period: return AnalysisColumn::Period;
    }
    return std::nullopt;
}

BasinColouring ColouringOf(std::optional<AnalysisColumn> c) {
    if (c == AnalysisColumn::Attractor) return BasinColouring::Attractor;
    if (c == AnalysisColumn::ExitStep) return BasinColouring::ExitStep;
    if (c == AnalysisColumn::Period) return BasinColouring::Period;
    return BasinColouring::Kinds;
}

}  // namespace

ViewState ViewFor(const Request& r) {
    ViewState v;
    const DisplayRequest& d = r.display;
    v.SetParams(r.params);
    v.m_twoModes = On(d.panels == PanelChoice::Both);
    if (d.panels == PanelChoice::Attractors) v.OnShowAttractors();
    if (d.panels == PanelChoice::Basins) v.OnShowBasins();
    v.m_showParams = On(d.parameterText);
    v.m_showGrid = On(d.grid);
    v.m_showLegend = On(d.legend);
    v.m_aSymmetry = On(d.aSymmetry);
    v.m_fontSize = d.fontSize;
    v.m_fitWindow = On(d.fit);
    v.m_listsOriginX = r.Origin().x;
    v.m_listsOriginY = r.Origin().y;
    v.m_colourBy = ColumnOf(d.colourBy);
    v.m_attractorDelta = r.attractorDelta;
    const LegendTexts& l = d.legendTexts;
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

Request RequestOf(const ViewState& v, const ModelParams& p, int originX, int originY, int width, int height) {
    Request r;
    r.params = p;
    r.width = width;
    r.height = height;
    r.origin = PixelPoint{originX, originY};
    r.attractorDelta = v.m_attractorDelta;
    DisplayRequest& d = r.display;
    // Only a switch that holds exactly 1 is on.
    d.panels = v.m_twoModes == 1   ? PanelChoice::Both
               : v.m_viewMode == 3 ? PanelChoice::Basins
                                   : PanelChoice::Attractors;
    d.parameterText = v.m_showParams == 1;
    d.grid = v.m_showGrid == 1;
    d.legend = v.m_showLegend == 1;
    d.aSymmetry = v.m_aSymmetry == 1;
    d.fit = v.m_fitWindow == 1;
    d.fontSize = v.m_fontSize;
    d.colourBy = ColouringOf(v.m_colourBy);
    d.legendTexts = {v.m_nameHx.toStdString(),
                     v.m_nameHy.toStdString(),
                     v.m_maxHx,
                     v.m_minHx,
                     v.m_maxHy,
                     v.m_minHy,
                     v.m_regionT.toStdString(),
                     v.m_regionO.toStdString(),
                     v.m_regionM.toStdString(),
                     v.m_regionH.toStdString()};
    return r;
}

QString DescribeFrame(const ViewState& view, const ModelParams& p, int originX, int originY, int width, int height) {
    return QString::fromStdString(DescribeRequest(RequestOf(view, p, originX, originY, width, height)));
}

QString DescribeFrame(const Request& r) {
    const PixelPoint origin = r.Origin();
    return DescribeFrame(ViewFor(r), r.params, origin.x, origin.y, r.width, r.height);
}

QImage DrawFrame(const Request& r, FractalModel& model, const QImage* legendPicture, const std::atomic<bool>* cancel) {
    ViewState view = ViewFor(r);
    return ComposeFrame(view, model, r.width, r.height, legendPicture, nullptr, cancel);
}

}  // namespace orbitograph
