// The set-up report's pictures, drawn for paper: the Lissajous figure of the
// measured samples with the fitted ellipse over it, and the signal level
// against position with the bands' floors.
#pragma once

#include <QImage>
#include <utility>
#include <vector>

#include "measure/alignment_fit.h"

namespace quillon {

QImage LissajousPicture(const std::vector<measure::SignalPoint>& samples,
                        const measure::AlignmentFit& fit);

// Positions in counts with their level in %; null when the head stood still.
QImage StrengthPicture(const std::vector<std::pair<int32_t, double>>& sweep);

}  // namespace quillon
