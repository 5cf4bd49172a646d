#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "outcome/run_outcome.hpp"

// The gap chart as an image file, for --plot and for saving from the chart
// window.
namespace gapmerge {

enum class ChartFormat { png, jpeg, svg };

// The format that a file name's extension names (.png, .jpg or .jpeg, .svg,
// in any case); none for another or no extension.
std::optional<ChartFormat> chartFormatOf(std::string_view fileName);

// The gap chart of the outcome drawn at width x height pixels, as the bytes
// of a file of that format; none when no image of that size can be made. Without
// a running application Qt is started on its offscreen platform for the
// drawing, so no display is needed.
std::optional<std::string> drawGapChartFile(const RunOutcome& outcome, ChartFormat format,
                                            int width, int height);

}  // namespace gapmerge
