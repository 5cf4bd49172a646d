// Micro-benchmarks of the hot pieces of a merge run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "merge/gap_stats.hpp"
#include "merge/report.hpp"
#include "render/merged_file_text.hpp"
#include "text/number_format.hpp"

namespace {

// Quotients and counts of the sizes a merge run meets.
template <typename T>
std::vector<T> sampleValues(T (*make)(std::int64_t)) {
  std::vector<T> values;
  std::int64_t seed = 12345;
  for (int i = 0; i < 1024; ++i) {
    seed = seed * 1103515245 % 98765432;
    values.push_back(make(seed));
  }
  return values;
}

void formatFraction(benchmark::State& state) {
  const auto values =
      sampleValues<double>([](std::int64_t n) { return static_cast<double>(n) / 98765432.0; });
  std::array<char, gapmerge::maxFixedLength> buffer{};
  std::size_t i = 0;
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(gapmerge::writeFixed(buffer.data(), values[i++ & 1023U], 15));
  }
}
BENCHMARK(formatFraction);

void formatCount(benchmark::State& state) {
  const auto values = sampleValues<std::int64_t>([](std::int64_t n) { return n; });
  std::array<char, gapmerge::maxIntegerLength> buffer{};
  std::size_t i = 0;
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(gapmerge::writeInteger(buffer.data(), values[i++ & 1023U]));
  }
}
BENCHMARK(formatCount);

// A histogram with the given number of distinct gap sizes.
gapmerge::GapStats statsWithGaps(std::int64_t gaps) {
  gapmerge::GapStats stats;
  for (std::int64_t i = 1; i <= gaps; ++i) {
    gapmerge::addGapTable(stats, {{2 * i, 1000000 / i + 7}}, 1000000 / i + 7);
  }
  return stats;
}

void formatReportSections(benchmark::State& state) {
  const auto stats = statsWithGaps(state.range(0));
  gapmerge::StatsBlock block;
  gapmerge::reportSeries(stats, block);
  std::string out;
  for ([[maybe_unused]] auto _ : state) {
    out.clear();
    gapmerge::appendReportSections(out, 1000000000, block);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(out.size()));
}
BENCHMARK(formatReportSections)->Arg(20)->Arg(200)->Arg(1000);

std::string gapTableLine(std::int64_t gaps) {
  std::string line;
  for (std::int64_t i = 1; i <= gaps; ++i) {
    line.append("[").append(std::to_string(2 * i)).append(", ");
    line.append(std::to_string(1000000 / i + 7)).append("], ");
  }
  return line;
}

// Reads a report of a gap table of that many sizes from the page cache.
void readGapTableReport(benchmark::State& state) {
  const std::string path = "/tmp/gapmerge-micro-bench Tramvelok 1 to 2.txt";
  std::ofstream(path) << "Gaps [gap, qty]\n" << gapTableLine(state.range(0)) << "\n";
  gapmerge::ReportReading reading;
  for ([[maybe_unused]] auto _ : state) {
    gapmerge::readReport(path, reading);
    benchmark::DoNotOptimize(reading.gapTableSum);
  }
  static_cast<void>(std::remove(path.c_str()));
}
BENCHMARK(readGapTableReport)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
