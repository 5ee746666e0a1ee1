#pragma once

// Why the window cannot take the parameters of a picture, in Russian, from
// the reasons the request layer gives.

#include <QString>

#include "request/description.h"
#include "request/picture_file.h"
#include "request/request_cost.h"

namespace orbitograph {

// Why the description could not be read from the file; one sentence.
QString PictureRefusalText(PictureReason reason, int systemError);

// Why the description was refused; one sentence.
QString DescriptionRefusalText(const DescriptionError& e);

// The question before computing a picture's request beyond the quiet bound
// of map steps (the window draws on its own canvas, whatever the picture's
// size): its cost, and whether to compute it. Empty when within the bound.
QString LargeRequestQuestion(const QString& file, const RequestCost& cost);

}  // namespace orbitograph
