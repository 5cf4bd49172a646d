#include "make_slices/report_text.hpp"

#include <array>
#include <charconv>
#include <limits>

namespace make_slices {

namespace {

constexpr std::string_view lineEnd = "\r\n";

// The run parameters that the sieve notes at the top of every report.
constexpr std::array parameterLines = {
    "maxStoredPrimes = 50.000.000", "ThreadedFlag = 1",        "Algorithm = Segmented",
    "PageSizeLimit = 32.768",       "nSlicesMaxLimit = 1.000", "maxConcurrentThreads = 8",
};

bool isPowerOfTen(std::uint64_t value) {
  std::uint64_t power = 1;
  while (power < value && power <= std::numeric_limits<std::uint64_t>::max() / 10) {
    power *= 10;
  }
  return power == value;
}

// The sieve grades its own counts only for a range from the start of the
// numbers to a power of ten, where it knows the true values.
bool isGraded(const SliceRange& range) {
  return range.low <= 1 && isPowerOfTen(range.high);
}

void addLine(std::string& text, std::string_view line) {
  text.append(line).append(lineEnd);
}

// "[gap, qty], " for every gap that occurs, in increasing order.
std::string gapTable(const SliceSummary& slice) {
  std::string table;
  for (std::size_t gap = 0; gap < slice.gapCounts.size(); ++gap) {
    if (slice.gapCounts[gap] != 0) {
      table.append("[")
          .append(std::to_string(gap))
          .append(", ")
          .append(std::to_string(slice.gapCounts[gap]))
          .append("], ");
    }
  }
  return table;
}

// A slice without primes has no gap and says -1, one less than its primes,
// as every other slice does.
std::string gapCount(const SliceSummary& slice) {
  return slice.primeCount == 0 ? "-1" : groupThousands(slice.primeCount - 1);
}

void addCounts(std::string& text, const SliceSummary& slice, const std::string& elapsed) {
  const std::string count = groupThousands(slice.primeCount);
  addLine(text, "Tramvelok - found " + count + " primes");
  addLine(text, "Tramvelok - " + count + " primes in " + elapsed + "s");
  addLine(text, "Tramvelok - Total gaps : " + gapCount(slice));
  if (isGraded(slice.range)) {
    addLine(text, "Prime count against the table of pi(x) ... good guess");
    addLine(text, "nPrimes / nGaps check ... excellent");
  }
}

void addPrimes(std::string& text, const SliceSummary& slice) {
  if (slice.primeCount != 0) {
    addLine(text, "First prime in range : " + groupThousands(slice.firstPrime));
    addLine(text, "Last prime in range : " + groupThousands(slice.lastPrime));
  }
  addLine(text, "Gaps [gap, qty]");
  addLine(text, gapTable(slice));
}

}  // namespace

std::string groupThousands(std::uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) {
      grouped.push_back('.');
    }
    grouped.push_back(digits[i]);
  }
  return grouped;
}

std::string reportName(const SliceRange& range, const std::string& stamp) {
  return "Tramvelok " + groupThousands(range.low) + " to " + groupThousands(range.high) + " " +
         stamp + ".txt";
}

std::string reportText(const SliceSummary& slice, const std::string& elapsed) {
  std::string text;
  for (const std::string_view line : parameterLines) {
    addLine(text, line);
  }
  addLine(text, "nmin = " + groupThousands(slice.range.low));
  addLine(text, "nmax = " + groupThousands(slice.range.high));
  addCounts(text, slice, elapsed);
  addPrimes(text, slice);
  return text;
}

std::string formatSeconds(double seconds) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds,
                                    std::chars_format::fixed, 3);
  return {buffer.data(), result.ptr};
}

}  // namespace make_slices
