// Writes a deterministic corpus of synthetic slice reports for benchmarks:
// K reports with D distinct gap sizes each, spread over F folders. Each
// report adds up, its gaps span its primes and consecutive slices join; the
// prime counts are estimates, so the run finds that the merged gaps do not
// count the primes of the range.
//
//   bench-corpus OUT_DIR REPORTS GAPS [FOLDERS]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "make_slices/report_text.hpp"

namespace {

constexpr std::int64_t firstBound = 1000000000000;  // every name has 13 digits
constexpr std::int64_t sliceSize = 10000000;

struct CorpusShape {
  std::filesystem::path folder;
  std::int64_t reports = 0;
  std::int64_t gaps = 0;
  std::int64_t folders = 1;
};

std::string groupWithDots(std::int64_t value) {
  return make_slices::groupThousands(static_cast<std::uint64_t>(value));
}

// The first and last prime of every slice, as offsets from its bounds: both
// odd, so that the gaps between them, all even, can span them exactly.
constexpr std::int64_t firstPrimeAfterLow = 11;
constexpr std::int64_t lastPrimeBeforeHigh = 8;
constexpr std::int64_t largestShare = 30000;
constexpr std::int64_t shareStep = 1000;

// Quantities of the even gaps 2, 4, ... falling off as prime gaps do, from
// scale at the gap 2, so that the numbers have realistic widths.
std::vector<std::int64_t> fallingQuantities(std::int64_t gaps, std::int64_t report,
                                            std::int64_t scale) {
  std::vector<std::int64_t> quantities;
  for (std::int64_t i = 1; i <= gaps; ++i) {
    const double share = std::exp(-static_cast<double>(i) / 12.0);
    quantities.push_back(static_cast<std::int64_t>(static_cast<double>(scale) * share) + 1 +
                         (report + i) % 7);
  }
  return quantities;
}

std::int64_t spanOf(const std::vector<std::int64_t>& quantities) {
  std::int64_t span = 0;
  for (std::size_t i = 0; i < quantities.size(); ++i) {
    span += 2 * static_cast<std::int64_t>(i + 1) * quantities[i];
  }
  return span;
}

// The gap table: falling quantities that add up to total gaps spanning span
// exactly. The gaps 2 and 2 * gaps take what the falling ones leave (the
// largest scale for which neither goes below 0), and one gap of 2 moves to
// the size that makes up the remainder. Empty when no table can: the mean
// gap lies beyond the largest size.
std::string gapTable(std::int64_t gaps, std::int64_t report, std::int64_t total,
                     std::int64_t span) {
  const std::int64_t top = 2 * gaps;
  for (std::int64_t scale = largestShare; scale >= 0 && gaps >= 2; scale -= shareStep) {
    std::vector<std::int64_t> quantities = fallingQuantities(gaps, report, scale);
    const std::int64_t moreGaps =
        total - std::accumulate(quantities.begin(), quantities.end(), std::int64_t{0});
    const std::int64_t moreSpan = span - spanOf(quantities);
    // Each gap of size top in place of one of 2 adds top - 2 to the span.
    const std::int64_t beyondTwos = moreSpan - 2 * moreGaps;
    if (beyondTwos < 0 || beyondTwos > (top - 2) * moreGaps) {
      continue;
    }
    const std::int64_t tops = beyondTwos / (top - 2);
    const std::int64_t remainder = beyondTwos % (top - 2);
    quantities.back() += tops;
    quantities.front() += moreGaps - tops;
    if (remainder > 0) {
      --quantities.front();
      ++quantities[static_cast<std::size_t>(remainder / 2)];
    }
    std::string table;
    for (std::int64_t i = 1; i <= gaps; ++i) {
      table.append("[").append(std::to_string(2 * i)).append(", ");
      table.append(std::to_string(quantities[static_cast<std::size_t>(i - 1)])).append("], ");
    }
    return table;
  }
  return {};
}

// The number of primes in [low, high] as the estimate x / (ln(x + 1) - 1)
// gives it, so that the reports pass every consistency check.
std::int64_t estimatedPrimes(std::int64_t low, std::int64_t high) {
  const auto estimate = [](double x) { return x / (std::log(x + 1.0) - 1.0); };
  return static_cast<std::int64_t>(
      std::nearbyint(estimate(static_cast<double>(high)) - estimate(static_cast<double>(low))));
}

// Writes the report; false when its table cannot span its primes.
bool writeReport(const CorpusShape& shape, std::int64_t report) {
  const std::int64_t low = firstBound + report * sliceSize;
  const std::int64_t high = low + sliceSize - 1;
  const std::int64_t primes = estimatedPrimes(low, high);
  const std::int64_t first = low + firstPrimeAfterLow;
  const std::int64_t last = high - lastPrimeBeforeHigh;
  const std::string table = gapTable(shape.gaps, report, primes - 1, last - first);
  if (table.empty()) {
    return false;
  }
  // Consecutive slices share a folder, and the folders sort in slice order,
  // so that the slices join in path order.
  std::string part =
      std::to_string(report * shape.folders / std::max<std::int64_t>(shape.reports, 1));
  part.insert(0, 6 - std::min<std::size_t>(part.size(), 6), '0');
  const auto folder = shape.folder / part;
  std::filesystem::create_directories(folder);
  std::string name = "Tramvelok ";
  name.append(groupWithDots(low)).append(" to ").append(groupWithDots(high));
  name.append(" 20261206120000.txt");
  std::ofstream out(folder / name, std::ios::binary);
  out << "nmin = " << groupWithDots(low) << "\r\nnmax = " << groupWithDots(high)
      << "\r\nTramvelok - found " << groupWithDots(primes) << " primes\r\nTramvelok - "
      << groupWithDots(primes)
      << " primes in 0.5s\r\nTramvelok - Total gaps : " << groupWithDots(primes - 1)
      << "\r\nFirst prime in range : " << first << "\r\nLast prime in range : " << last
      << "\r\nGaps [gap, qty]\r\n"
      << table << "\r\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::cerr << "usage: bench-corpus OUT_DIR REPORTS GAPS [FOLDERS]\n";
    return 2;
  }
  CorpusShape shape{argv[1], std::strtoll(argv[2], nullptr, 10), std::strtoll(argv[3], nullptr, 10),
                    argc == 5 ? std::strtoll(argv[4], nullptr, 10) : 1};
  if (shape.reports < 0 || shape.gaps < 1 || shape.gaps > 1000 || shape.folders < 1) {
    std::cerr << "bench-corpus: REPORTS >= 0, 1 <= GAPS <= 1000, FOLDERS >= 1\n";
    return 2;
  }
  for (std::int64_t report = 0; report < shape.reports; ++report) {
    if (!writeReport(shape, report)) {
      std::cerr << "bench-corpus: " << shape.gaps
                << " gap sizes cannot span a slice: its mean gap is larger than the largest\n";
      return 2;
    }
  }
  return 0;
}
