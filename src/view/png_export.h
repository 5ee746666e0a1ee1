#pragma once

#include <QImage>
#include <QString>

#include "model/model_params.h"

namespace orbitograph {

// Key of the PNG text chunk that records how a picture was computed.
inline constexpr const char* kPngTextKey = "Orbitograph";

// One line naming every parameter of the computation and the origin, so the
// picture can be made again.
QString DescribeComputation(const ModelParams& p, int originX, int originY);

// Writes the canvas as PNG under exactly this path, with the description in
// a text chunk of key kPngTextKey (uncompressed tEXt when it is one line of
// Latin-1, as DescribeComputation's is). Writes a temporary file in the same folder and renames it
// over the target, so a failure never leaves a partial file nor harms an
// existing one. On failure returns false and, if given, the reason.
bool SavePngAtomically(const QImage& canvas, const QString& path, const QString& description,
                       QString* error = nullptr);

}  // namespace orbitograph
