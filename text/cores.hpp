#pragma once

#include <algorithm>
#include <thread>

namespace gapmerge {

// The number of threads to run: threads, or one per core when it is 0.
inline unsigned threadsOrCores(unsigned threads) {
  return threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
}

}  // namespace gapmerge
