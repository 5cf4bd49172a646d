#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The values of pi(x) that earlier runs counted, kept in
// $XDG_CACHE_HOME/gapmerge/prime-counts (~/.cache/gapmerge/... when that is
// not set), so that a run repeated as slices arrive counts nothing again.
// Each line holds x, pi(x) and a check of both, and a line whose check fails
// is not used; the file is written whole. A cache that cannot be read or
// written only means counting again.
namespace gapmerge {

class PrimeCountCache {
 public:
  // Reads the cache file; path "" keeps nothing between runs.
  explicit PrimeCountCache(std::string path);

  // pi(x), from the cache or counted (and then kept).
  std::int64_t primesUpTo(std::int64_t x);

  // Writes the cache back when it learnt a count.
  void save() const;

 private:
  std::string path_;
  std::vector<std::pair<std::int64_t, std::int64_t>> counts_;  // the latest last
  bool changed_ = false;
};

// Where the cache file lives, from the environment; "" when neither
// XDG_CACHE_HOME nor HOME names an absolute folder.
std::string primeCountCachePath();

}  // namespace gapmerge
