// Writes a deterministic corpus of synthetic slice reports for benchmarks:
// K reports with D distinct gap sizes each, spread over F folders.
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

// The gap table: even gaps 2, 4, ... with quantities falling off as prime gaps
// do, so the numbers have realistic widths, and adding up to total (the gap
// 2 takes what the others leave).
std::string gapTable(std::int64_t gaps, std::int64_t report, std::int64_t total) {
  std::vector<std::int64_t> quantities;
  for (std::int64_t i = 1; i <= gaps; ++i) {
    const double share = std::exp(-static_cast<double>(i) / 12.0);
    quantities.push_back(static_cast<std::int64_t>(30000.0 * share) + 1 + (report + i) % 7);
  }
  quantities.front() += total - std::accumulate(quantities.begin(), quantities.end(), 0LL);
  std::string table;
  for (std::int64_t i = 1; i <= gaps; ++i) {
    table.append("[").append(std::to_string(2 * i)).append(", ");
    table.append(std::to_string(quantities[static_cast<std::size_t>(i - 1)])).append("], ");
  }
  return table;
}

// The number of primes in [low, high] as the estimate x / (ln(x + 1) - 1)
// gives it, so that the reports pass every consistency check.
std::int64_t estimatedPrimes(std::int64_t low, std::int64_t high) {
  const auto estimate = [](double x) { return x / (std::log(x + 1.0) - 1.0); };
  return static_cast<std::int64_t>(
      std::nearbyint(estimate(static_cast<double>(high)) - estimate(static_cast<double>(low))));
}

void writeReport(const CorpusShape& shape, std::int64_t report) {
  const std::int64_t low = firstBound + report * sliceSize;
  const std::int64_t high = low + sliceSize - 1;
  const std::int64_t primes = estimatedPrimes(low, high);
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
      << "\r\nFirst prime in range : " << low + 11 << "\r\nLast prime in range : " << high - 7
      << "\r\nGaps [gap, qty]\r\n"
      << gapTable(shape.gaps, report, primes - 1) << "\r\n";
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
    writeReport(shape, report);
  }
  return 0;
}
