#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "merge/report.hpp"

// The consistency checks of a report that was read, in the order they run.
// Their findings are data; the messages that name them are made with the
// other texts of the run. Besides the checks of the values against each
// other, a report is held to what an intact report holds: its gaps span its
// primes, it has every key line, and its gap sizes fit the histogram.
namespace gapmerge {

enum class Check {
  range,              // the bounds in the name against the nmin and nmax lines
  doubleCount,        // the two prime counts
  gapsAgainstPrimes,  // nGaps + 1 against the number of primes
  gradeLines,         // a range from the start to a power of ten lacks a grade line
  estimate,           // the number of primes too far from the estimate
  gapTable,           // the gap table does not add up to nGaps: the report was cut short or damaged
  gapSpan,            // the gaps times their quantities do not span the first to the last prime
  lineMissing,        // a key line is not in the report
  gapsOutside,        // table items whose gap size lies outside the histogram
};

// The key lines of a report, in the order the report format has them.
enum class KeyLine { nmin, nmax, found, primesIn, totalGaps, firstPrime, lastPrime, gapTable };

struct FailedCheck {
  Check check = Check::range;
  double deviation = 0.0;        // of the estimate, for Check::estimate
  KeyLine line = KeyLine::nmin;  // for Check::lineMissing
  std::int64_t items = 0;        // for Check::gapsOutside: the items,
  std::int64_t gaps = 0;         // and their quantities summed

  friend bool operator==(const FailedCheck&, const FailedCheck&) = default;
};

// True for the findings that make a report one that does not add up: what
// the histogram took from it is not what its own lines say.
bool meansNotAddingUp(Check check);

constexpr double deviationLimit = 0.0036;

// The estimate of the number of primes from 0 to x: x / (ln(x + 1) - 1).
double primeCountEstimate(double x);

// The estimate for the name bounds rounded half to even; none when it is not
// a finite number that fits in 64 bits.
std::optional<std::int64_t> estimatedPrimes(std::int64_t fileNmin, std::int64_t fileNmax);

// |1 - estimate / nPrimes|; NaN when there is no estimate.
double deviation(const ReportRecord& record);

// True when the quantities of the gap table sum to nGaps, or when a slice
// without primes lists no gap and says -1 gaps.
bool gapTableAddsUp(const ReportRecord& record);

// The checks that fail, in check order; none when every check passes. The
// record holds the values in force after the report (those it lacks kept
// from the reports before), the reading what the report itself says.
std::vector<FailedCheck> failedChecks(const ReportRecord& record, const ReportReading& reading);

}  // namespace gapmerge
