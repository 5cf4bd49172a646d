#include "main/front_end.hpp"
#include "ui/result_window.hpp"

namespace gapmerge {

std::unique_ptr<ResultView> makeWindowView(char* programName) {
  return makeResultWindow(programName);
}

}  // namespace gapmerge
