#include "verify/report_comparison.hpp"

namespace gapmerge {

namespace {

// The sieve's figures as the report's values; the ranges of reports end at
// 2^63 - 1, so they fit.
std::int64_t asValue(std::uint64_t figure) {
  return static_cast<std::int64_t>(figure);
}

std::optional<std::int64_t> primeOf(const RangePrimes& primes, std::uint64_t prime) {
  if (primes.count == 0) {
    return std::nullopt;
  }
  return asValue(prime);
}

std::optional<Difference> compareValue(Differing what, std::optional<std::int64_t> said,
                                       std::optional<std::int64_t> found) {
  if (said == found) {
    return std::nullopt;
  }
  return Difference{.what = what, .said = said, .found = found, .gap = 0};
}

// The next gap from `from` on that occurs in the range; gapSlots when none.
std::size_t nextGap(const RangePrimes& primes, std::size_t from) {
  while (from < gapSlots && primes.gapCounts[from] == 0) {
    ++from;
  }
  return from;
}

Difference onlyBySieve(const RangePrimes& primes, std::size_t slot) {
  return {.what = Differing::gapOnlyBySieve,
          .said = std::nullopt,
          .found = asValue(primes.gapCounts[slot]),
          .gap = static_cast<std::int64_t>(slot)};
}

// Walks the report's items and the gaps that occur side by side.
std::optional<Difference> compareTable(const std::vector<TableEntry>& table,
                                       const RangePrimes& primes) {
  std::size_t slot = nextGap(primes, 0);
  for (const auto& [gap, quantity] : table) {
    const bool sieveDone = slot == gapSlots;
    const auto sieveGap = static_cast<std::int64_t>(slot);
    if (!sieveDone && gap > sieveGap) {
      return onlyBySieve(primes, slot);
    }
    if (sieveDone || gap < sieveGap) {
      return Difference{
          .what = Differing::gapOnlyInReport, .said = quantity, .found = std::nullopt, .gap = gap};
    }
    if (const std::int64_t count = asValue(primes.gapCounts[slot]); quantity != count) {
      return Difference{.what = Differing::gapCount, .said = quantity, .found = count, .gap = gap};
    }
    slot = nextGap(primes, slot + 1);
  }
  if (slot < gapSlots) {
    return onlyBySieve(primes, slot);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Difference> firstDifference(const ReportReading& reading, const RangePrimes& primes) {
  // A slice without primes says -1 gaps, one less than its primes.
  const std::int64_t gaps = asValue(primes.count) - 1;
  if (auto difference =
          compareValue(Differing::firstPrime, reading.firstPrime, primeOf(primes, primes.first))) {
    return difference;
  }
  if (auto difference =
          compareValue(Differing::lastPrime, reading.lastPrime, primeOf(primes, primes.last))) {
    return difference;
  }
  if (auto difference = compareValue(Differing::primes, reading.nPrimes, asValue(primes.count))) {
    return difference;
  }
  if (auto difference = compareValue(Differing::gaps, reading.nGaps, gaps)) {
    return difference;
  }
  return compareTable(reading.items, primes);
}

}  // namespace gapmerge
