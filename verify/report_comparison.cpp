#include "verify/report_comparison.hpp"

#include <cstdint>
#include <string_view>

#include "text/number_format.hpp"

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

// "<what> <said> in the report, <found> by the sieve", values grouped with "."
// as the report's key lines write them; either side may give none.
std::optional<std::string> compareValue(std::string_view what, std::optional<std::int64_t> said,
                                        std::optional<std::int64_t> found) {
  if (said == found) {
    return std::nullopt;
  }
  const std::string bySieve = found ? formatGroupedInteger(*found) : "none";
  if (!said) {
    return "no " + std::string(what) + " in the report, " + bySieve + " by the sieve";
  }
  return std::string(what) + " " + formatGroupedInteger(*said) + " in the report, " + bySieve +
         " by the sieve";
}

std::string times(std::int64_t count) {
  return formatInteger(count) + (count == 1 ? " time" : " times");
}

std::string notListed(std::int64_t gap, std::int64_t count) {
  return "gap " + formatInteger(gap) + " not listed in the report, counted " + times(count) +
         " by the sieve";
}

// The next gap from `from` on that occurs in the range; gapSlots when none.
std::size_t nextGap(const RangePrimes& primes, std::size_t from) {
  while (from < gapSlots && primes.gapCounts[from] == 0) {
    ++from;
  }
  return from;
}

// Walks the report's items and the gaps that occur side by side.
std::optional<std::string> compareTable(const std::vector<TableEntry>& table,
                                        const RangePrimes& primes) {
  std::size_t slot = nextGap(primes, 0);
  for (const auto& [gap, quantity] : table) {
    const bool sieveDone = slot == gapSlots;
    const auto sieveGap = static_cast<std::int64_t>(slot);
    const std::int64_t count = sieveDone ? 0 : asValue(primes.gapCounts[slot]);
    if (!sieveDone && gap > sieveGap) {
      return notListed(sieveGap, count);
    }
    if (sieveDone || gap < sieveGap) {
      return "gap " + formatInteger(gap) + " counted " + times(quantity) +
             " in the report, never by the sieve";
    }
    if (quantity != count) {
      return "gap " + formatInteger(gap) + " counted " + times(quantity) + " in the report, " +
             times(count) + " by the sieve";
    }
    slot = nextGap(primes, slot + 1);
  }
  if (slot < gapSlots) {
    return notListed(static_cast<std::int64_t>(slot), asValue(primes.gapCounts[slot]));
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> firstDifference(const ReportStatement& statement,
                                           const RangePrimes& primes) {
  const std::uint64_t gaps = primes.count == 0 ? 0 : primes.count - 1;
  if (auto difference =
          compareValue("first prime", statement.firstPrime, primeOf(primes, primes.first))) {
    return difference;
  }
  if (auto difference =
          compareValue("last prime", statement.lastPrime, primeOf(primes, primes.last))) {
    return difference;
  }
  if (auto difference =
          compareValue("number of primes", statement.nPrimes, asValue(primes.count))) {
    return difference;
  }
  if (auto difference = compareValue("number of gaps", statement.nGaps, asValue(gaps))) {
    return difference;
  }
  return compareTable(statement.table, primes);
}

}  // namespace gapmerge
