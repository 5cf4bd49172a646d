#pragma once

#include <memory>

#include "app/result_view.hpp"

// The result window. Qt is started only by open(), after a usable display
// was found, so a run without a display never loads a platform plugin.
namespace gapmerge {

std::unique_ptr<ResultView> makeResultWindow(char* programName);

}  // namespace gapmerge
