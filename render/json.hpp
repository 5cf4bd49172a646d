#pragma once

#include <string>
#include <string_view>

#include "outcome/run_outcome.hpp"

// The outcome of a run as one JSON object, for scripts (layout in docs/json.md).
namespace gapmerge {

// One line of JSON ending with LF. Integers are exact over the whole signed
// 64-bit range; bytes of names that are not UTF-8 become U+FFFD.
std::string jsonText(const RunOutcome& outcome, std::string_view version);

}  // namespace gapmerge
