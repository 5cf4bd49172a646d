#pragma once

#include <cstdint>

namespace gapmerge {

// The integers from..to, both included, as the bounds in report names give them.
struct BoundRange {
  std::int64_t from = 0;
  std::int64_t to = 0;

  friend bool operator==(const BoundRange&, const BoundRange&) = default;
};

}  // namespace gapmerge
