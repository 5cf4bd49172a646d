#pragma once

#include <optional>
#include <string>

#include "merge/run_outcome.hpp"

// The gap chart as an image file, for --plot and for saving from the chart
// window.
namespace gapmerge {

enum class ChartFormat { png, svg };

// The gap chart of the outcome drawn at width x height pixels, as the bytes
// of a PNG or SVG file; none when no image of that size can be made. Without
// a running application Qt is started on its offscreen platform for the
// drawing, so no display is needed.
std::optional<std::string> drawGapChartFile(const RunOutcome& outcome, ChartFormat format,
                                            int width, int height);

}  // namespace gapmerge
