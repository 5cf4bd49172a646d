#include "main/front_end.hpp"

namespace gapmerge {

std::unique_ptr<WindowFront> makeWindowFront(char* /*programName*/) {
  return nullptr;
}

}  // namespace gapmerge
