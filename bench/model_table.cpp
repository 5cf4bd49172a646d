// Measures the gap model: the time of its first and later calls, its ratios
// to the published counts below 10^1 to 10^12, and for each merged CSV
// (gapmerge --csv) of a range the ratio count / expected of every even gap
// size with at least MIN gaps. Prints the Markdown tables of docs/model.md.
//
//   model-table [--min MIN] [FROM TO FILE.csv]...
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "merge/gap_model.hpp"
#include "merge/published_counts.hpp"
#include "text/number_format.hpp"

namespace {

using gapmerge::BoundRange;
using gapmerge::ExpectedCounts;

double millisecondsOf(const BoundRange& range, ExpectedCounts& expected) {
  const auto start = std::chrono::steady_clock::now();
  expected = gapmerge::expectedGapCounts(range);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  return took.count();
}

void printTimes() {
  ExpectedCounts expected{};
  const BoundRange range{1, 100'000'000'000};
  const double first = millisecondsOf(range, expected);
  double later = 1e300;
  for (int run = 0; run < 20; ++run) {
    later = std::min(later, millisecondsOf(range, expected));
  }
  std::printf("expectedGapCounts: first call %.2f ms, later calls %.2f ms\n\n", first, later);
}

std::string ratioText(double count, double expected) {
  return expected > 0 ? gapmerge::formatFixed(count / expected, 4) : "-";
}

// The published rows: gaps of 2, 4, 6 and 8 below 10^k, published / expected.
void printPublished() {
  std::printf("| below | gap 2 | gap 4 | gap 6 | gap 8 |\n|---|---|---|---|---|\n");
  gapmerge::Histogram probe{};
  for (std::int64_t below = 10; below <= 1'000'000'000'000; below *= 10) {
    probe[2] = -1;
    const auto published = gapmerge::compareWithPublished(BoundRange{1, below}, probe);
    const ExpectedCounts expected = gapmerge::expectedGapCounts({1, below});
    std::printf("| %s |", gapmerge::formatGroupedInteger(below).c_str());
    for (std::size_t i = 1; i <= 4; ++i) {
      const auto count = static_cast<double>(published->compared[i].published);
      std::printf(" %s |", ratioText(count, expected[2 * i]).c_str());
    }
    std::printf("\n");
  }
  std::printf("\n");
}

std::map<std::int64_t, std::int64_t> readCounts(const std::string& path) {
  std::map<std::int64_t, std::int64_t> counts;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::size_t comma = line.find(',');
    counts[std::stoll(line.substr(0, comma))] = std::stoll(line.substr(comma + 1));
  }
  return counts;
}

void printRange(std::int64_t from, std::int64_t to, const std::string& path, std::int64_t least) {
  const ExpectedCounts expected = gapmerge::expectedGapCounts({from, to});
  std::printf(
      "%s to %s: gap sizes with at least %s gaps\n\n| gap | count | expected | ratio |\n"
      "|---|---|---|---|\n",
      gapmerge::formatGroupedInteger(from).c_str(), gapmerge::formatGroupedInteger(to).c_str(),
      gapmerge::formatGroupedInteger(least).c_str());
  double low = 1e300;
  double high = 0;
  for (const auto& [gap, count] : readCounts(path)) {
    const double model = expected[static_cast<std::size_t>(gap)];
    if (count < least || gap < 2) {
      continue;
    }
    low = std::min(low, static_cast<double>(count) / model);
    high = std::max(high, static_cast<double>(count) / model);
    std::printf("| %lld | %s | %s | %s |\n", static_cast<long long>(gap),
                gapmerge::formatGroupedInteger(count).c_str(),
                gapmerge::formatFixed(model, 1).c_str(),
                ratioText(static_cast<double>(count), model).c_str());
  }
  std::printf("\nratios from %.4f to %.4f\n\n", low, high);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::size_t at = 0;
  std::int64_t least = 10'000;
  if (args.size() >= 2 && args[0] == "--min") {
    least = std::stoll(args[1]);
    at = 2;
  }
  if ((args.size() - at) % 3 != 0) {
    std::cerr << "usage: model-table [--min MIN] [FROM TO FILE.csv]...\n";
    return 2;
  }
  printTimes();
  printPublished();
  for (; at < args.size(); at += 3) {
    printRange(std::stoll(args[at]), std::stoll(args[at + 1]), args[at + 2], least);
  }
  return 0;
}
