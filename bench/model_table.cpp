// Measures the gap model and prints the tables of docs/model.md: the time of
// its first and later calls, its ratios to the published counts below 10^1
// to 10^12, and for merged CSV files (gapmerge --csv) of given ranges the
// ratio count / expected of every even gap size with at least MIN gaps.
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

// One merged range: its counts by gap size and the model's expectation.
struct MeasuredRange {
  BoundRange range;
  std::map<std::size_t, std::int64_t> counts;
  ExpectedCounts expected{};
};

double millisecondsFor(const BoundRange& range) {
  const auto start = std::chrono::steady_clock::now();
  const ExpectedCounts expected = gapmerge::expectedGapCounts(range);
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  return expected[2] > 0 ? took.count() : 0;
}

void printTimes() {
  const BoundRange range{1, 100'000'000'000};
  const double first = millisecondsFor(range);
  double later = millisecondsFor(range);
  for (int run = 0; run < 20; ++run) {
    later = std::min(later, millisecondsFor(range));
  }
  std::printf("expectedGapCounts(1, 10^11): first call %.2f ms, later calls %.2f ms\n\n", first,
              later);
}

std::string ratio(double count, double expected) {
  return gapmerge::formatFixed(count / expected, 4);
}

// Gaps of 2, 4, 6 and 8 below 10^k: published / expected.
void printPublished() {
  std::printf("| below | gap 2 | gap 4 | gap 6 | gap 8 |\n|---|---|---|---|---|\n");
  const gapmerge::Histogram none{};
  for (std::int64_t below = 10; below <= 1'000'000'000'000; below *= 10) {
    const auto published = gapmerge::compareWithPublished(BoundRange{1, below}, none);
    const ExpectedCounts expected = gapmerge::expectedGapCounts({1, below});
    std::printf("| 10^%zu |", std::to_string(below).size() - 1);
    for (std::size_t i = 1; i <= 4; ++i) {
      const auto count = static_cast<double>(published->compared[i].published);
      std::printf(" %s |", count > 0 ? ratio(count, expected[2 * i]).c_str() : "-");
    }
    std::printf("\n");
  }
  std::printf("\n");
}

MeasuredRange readRange(std::int64_t from, std::int64_t to, const std::string& path) {
  MeasuredRange measured{{from, to}, {}, gapmerge::expectedGapCounts({from, to})};
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::size_t comma = line.find(',');
    measured.counts[std::stoul(line.substr(0, comma))] = std::stoll(line.substr(comma + 1));
  }
  return measured;
}

std::string rangeName(const BoundRange& range) {
  return gapmerge::formatGroupedInteger(range.from) + " to " +
         gapmerge::formatGroupedInteger(range.to);
}

// One row for every even gap size with at least least gaps in some range.
void printRanges(const std::vector<MeasuredRange>& ranges, std::int64_t least) {
  std::printf("| gap |");
  for (const auto& measured : ranges) {
    std::printf(" %s |", rangeName(measured.range).c_str());
  }
  std::printf("\n|---|");
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    std::printf("---|");
  }
  std::printf("\n");
  for (std::size_t gap = 2; gap <= gapmerge::maxHistogramGap; gap += 2) {
    std::string row = "| " + std::to_string(gap) + " |";
    bool shown = false;
    for (const auto& measured : ranges) {
      const auto found = measured.counts.find(gap);
      const std::int64_t count = found == measured.counts.end() ? 0 : found->second;
      shown = shown || count >= least;
      row += count >= least ? " " + ratio(static_cast<double>(count), measured.expected[gap]) + " |"
                            : " |";
    }
    if (shown) {
      std::printf("%s\n", row.c_str());
    }
  }
  std::printf("\n");
  for (const auto& measured : ranges) {
    double low = 1e300;
    double high = 0;
    for (const auto& [gap, count] : measured.counts) {
      if (gap % 2 == 0 && count >= least) {
        low = std::min(low, static_cast<double>(count) / measured.expected[gap]);
        high = std::max(high, static_cast<double>(count) / measured.expected[gap]);
      }
    }
    std::printf("%s: ratios from %.4f to %.4f\n", rangeName(measured.range).c_str(), low, high);
  }
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
  std::vector<MeasuredRange> ranges;
  for (; at < args.size(); at += 3) {
    ranges.push_back(readRange(std::stoll(args[at]), std::stoll(args[at + 1]), args[at + 2]));
  }
  if (!ranges.empty()) {
    printRanges(ranges, least);
  }
  return 0;
}
