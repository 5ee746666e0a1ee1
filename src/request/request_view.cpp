#include "request/request_view.h"

#include "request/description.h"
#include "view/frame.h"
#include "view/orbit_overlay.h"

namespace orbitograph {

namespace {

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
    v.m_switches = DisplaySwitches{.m_twoModes = d.panels == PanelChoice::Both,
                                   .m_showParams = d.parameterText,
                                   .m_showLegend = d.legend,
                                   .m_showGrid = d.grid,
                                   .m_aSymmetry = d.aSymmetry,
                                   .m_fontSize = d.fontSize,
                                   .m_fitWindow = d.fit};
    if (d.panels == PanelChoice::Attractors) v.OnShowAttractors();
    if (d.panels == PanelChoice::Basins) v.OnShowBasins();
    v.m_listsOriginX = r.Origin().x;
    v.m_listsOriginY = r.Origin().y;
    v.m_colourBy = ColumnOf(d.colourBy);
    v.m_attractorDelta = r.attractorDelta;
    const LegendTexts& l = d.legendTexts;
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

Request RequestOf(const ViewState& v, const ModelParams& p, int originX, int originY, int width, int height) {
    Request r;
    r.params = p;
    r.width = width;
    r.height = height;
    r.origin = PixelPoint{originX, originY};
    r.attractorDelta = v.m_attractorDelta;
    DisplayRequest& d = r.display;
    const DisplaySwitches& s = v.m_switches;
    d.panels = s.m_twoModes ? PanelChoice::Both : v.BasinsAlone() ? PanelChoice::Basins : PanelChoice::Attractors;
    d.parameterText = s.m_showParams;
    d.grid = s.m_showGrid;
    d.legend = s.m_showLegend;
    d.aSymmetry = s.m_aSymmetry;
    d.fit = s.m_fitWindow;
    d.fontSize = s.m_fontSize;
    d.colourBy = ColouringOf(v.m_colourBy);
    const LegendFields& l = v.m_legend;
    d.legendTexts = {l.m_nameHx.toStdString(),
                     l.m_nameHy.toStdString(),
                     l.m_maxHx,
                     l.m_minHx,
                     l.m_maxHy,
                     l.m_minHy,
                     l.m_regionT.toStdString(),
                     l.m_regionO.toStdString(),
                     l.m_regionM.toStdString(),
                     l.m_regionH.toStdString()};
    return r;
}

QString DescribeFrame(const ViewState& view, const ModelParams& p, int originX, int originY, int width, int height) {
    return QString::fromStdString(DescribeRequest(RequestOf(view, p, originX, originY, width, height)));
}

QString DescribeFrame(const Request& r) {
    const PixelPoint origin = r.Origin();
    Request described = RequestOf(ViewFor(r), r.params, origin.x, origin.y, r.width, r.height);
    described.display.probe = r.display.probe;
    return QString::fromStdString(DescribeRequest(described));
}

QImage DrawFrame(const Request& r, FractalModel& model, const QImage* legendPicture, const std::atomic<bool>* cancel) {
    ViewState view = ViewFor(r);
    QImage canvas = ComposeFrame(view, model, r.width, r.height, legendPicture, nullptr, cancel);
    if (canvas.isNull() || !r.display.probe) return canvas;
    ProbeOptions options;
    options.cancel = cancel;
    const std::optional<ProbeResult> orbit =
        ProbeOrbit(r.params, (*r.display.probe)[0], (*r.display.probe)[1], options);
    if (!orbit) return {};
    DrawOrbitOverlay(canvas, view, *orbit);
    return canvas;
}

}  // namespace orbitograph
