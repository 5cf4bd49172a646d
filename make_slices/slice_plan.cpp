#include "make_slices/slice_plan.hpp"

namespace make_slices {

std::vector<SliceRange> cutIntoSlices(std::uint64_t from, std::uint64_t to, std::uint64_t count) {
  // (to - from) * (k + 1) / count without overflow: whole part and remainder apart.
  const std::uint64_t width = (to - from) / count;
  const std::uint64_t rest = (to - from) % count;
  std::vector<SliceRange> slices;
  slices.reserve(count);
  std::uint64_t low = from;
  for (std::uint64_t k = 1; k <= count; ++k) {
    const std::uint64_t high = from + width * k + rest * k / count;
    slices.push_back({low, high});
    low = high + 1;
  }
  return slices;
}

std::vector<SliceRange> cutBySize(std::uint64_t from, std::uint64_t to, std::uint64_t size) {
  std::vector<SliceRange> slices;
  std::uint64_t low = from;
  while (true) {
    const std::uint64_t high = to - low < size ? to : low + size - 1;
    slices.push_back({low, high});
    if (high == to) {
      return slices;
    }
    low = high + 1;
  }
}

}  // namespace make_slices
