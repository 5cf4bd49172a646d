#include "merge/checks.hpp"

#include <cmath>
#include <utility>

#include "text/wrap.hpp"

namespace gapmerge {

namespace {

// True when 10 to the power log10(n) gives n back exactly, as it does for
// every power of ten.
bool passesPowerOfTenRoundTrip(std::int64_t n) {
  const auto value = static_cast<double>(n);
  return std::pow(10.0, std::log10(value)) == value;
}

// The gaps of a report span its primes: their sizes times their quantities
// sum to the last prime less the first. Only a report that gives both is held
// to it.
bool gapSpanMatches(const ReportReading& reading) {
  return !reading.firstPrime || !reading.lastPrime ||
         subtractWrap(*reading.lastPrime, *reading.firstPrime) == reading.gapSpan;
}

// The key lines the report does not have, in the order of the format. A
// report that found no prime needs no prime lines and no table.
void addMissingLines(const ReportReading& reading, std::vector<FailedCheck>& failed) {
  const bool foundNone = reading.nPrimes == 0;  // its found line says 0
  for (const auto& [present, line] :
       {std::pair{reading.nmin.has_value(), KeyLine::nmin},
        std::pair{reading.nmax.has_value(), KeyLine::nmax},
        std::pair{reading.nPrimes.has_value(), KeyLine::found},
        std::pair{reading.nPrimes2.has_value(), KeyLine::primesIn},
        std::pair{reading.nGaps.has_value(), KeyLine::totalGaps},
        std::pair{reading.firstPrime.has_value() || foundNone, KeyLine::firstPrime},
        std::pair{reading.lastPrime.has_value() || foundNone, KeyLine::lastPrime},
        std::pair{reading.gapTableLine || foundNone, KeyLine::gapTable}}) {
    if (!present) {
      failed.push_back({.check = Check::lineMissing, .line = line});
    }
  }
}

}  // namespace

bool meansNotAddingUp(Check check) {
  return check == Check::gapTable || check == Check::gapSpan || check == Check::lineMissing ||
         check == Check::gapsOutside;
}

bool gapTableAddsUp(const ReportRecord& record) {
  return record.gapTableSum == record.nGaps || (record.gapTableSum == 0 && record.nGaps == -1);
}

double primeCountEstimate(double x) {
  return x / (std::log(x + 1.0) - 1.0);
}

std::optional<std::int64_t> estimatedPrimes(std::int64_t fileNmin, std::int64_t fileNmax) {
  const double estimate = primeCountEstimate(static_cast<double>(fileNmax)) -
                          primeCountEstimate(static_cast<double>(fileNmin));
  constexpr double limit = 9223372036854775808.0;  // 2^63
  const double rounded = std::nearbyint(estimate);
  if (!std::isfinite(rounded) || rounded >= limit || rounded < -limit) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(rounded);
}

double deviation(const ReportRecord& record) {
  const auto estimate = estimatedPrimes(record.fileNmin, record.fileNmax);
  if (!estimate) {
    return std::nan("");
  }
  const double q = static_cast<double>(*estimate) / static_cast<double>(record.nPrimes);
  return std::fabs(1.0 - q);
}

std::vector<FailedCheck> failedChecks(const ReportRecord& record, const ReportReading& reading) {
  std::vector<FailedCheck> failed;
  const auto fail = [&failed](Check check, double value = 0.0) {
    failed.push_back({check, value});
  };
  if (record.fileNmin != record.nmin || record.fileNmax != record.nmax) {
    fail(Check::range);
  }
  if (record.nPrimes != record.nPrimes2) {
    fail(Check::doubleCount);
  }
  if (addWrap(record.nGaps, 1) != record.nPrimes) {
    fail(Check::gapsAgainstPrimes);
  }
  if (!(record.goodGuess && record.excellent) && record.fileNmin <= 1 &&
      passesPowerOfTenRoundTrip(record.fileNmax)) {
    fail(Check::gradeLines);
  }
  if (const double d = deviation(record); d > deviationLimit) {
    fail(Check::estimate, d);
  }
  if (!gapTableAddsUp(record)) {
    fail(Check::gapTable);
  }
  if (!gapSpanMatches(reading)) {
    fail(Check::gapSpan);
  }
  addMissingLines(reading, failed);
  if (reading.outsideItems > 0) {
    failed.push_back(
        {.check = Check::gapsOutside, .items = reading.outsideItems, .gaps = reading.outsideGaps});
  }
  return failed;
}

}  // namespace gapmerge
