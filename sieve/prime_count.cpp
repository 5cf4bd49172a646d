#include "sieve/prime_count.hpp"

#include <primecount.hpp>

namespace gapmerge {

std::int64_t primesUpTo(std::int64_t x) {
  // The count runs beside the merge, which keeps the other cores busy.
  primecount::set_num_threads(1);
  return x < 2 ? 0 : primecount::pi(x);
}

}  // namespace gapmerge
