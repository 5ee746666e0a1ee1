#pragma once

// A request and the main window's view state, one from the other, and the
// frame drawn for a request (Qt Gui).

#include <QImage>
#include <QString>

#include "model/fractal_model.h"
#include "request/request.h"
#include "view/view_state.h"

namespace orbitograph {

// The view state for the request: parameters, display switches, legend
// fields and the origin the lists were computed with.
ViewState ViewFor(const Request& r);

// The request the window's picture answers: its view state, the parameters
// and origin of the lists shown, the canvas size.
Request RequestOf(const ViewState& view, const ModelParams& p, int originX, int originY, int width, int height);

// The description (request/description.h) of that request.
QString DescribeFrame(const ViewState& view, const ModelParams& p, int originX, int originY, int width, int height);

// The description of the request with its texts as the view state holds them:
// well-formed UTF-8, whatever bytes the request's texts had.
QString DescribeFrame(const Request& r);

// The frame the window composes for the request from the model's lists
// (computed at the request's origin), or a null image when there is no
// memory for it. legendPicture may be null.
QImage DrawFrame(const Request& r, FractalModel& model, const QImage* legendPicture);

}  // namespace orbitograph
