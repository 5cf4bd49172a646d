#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/report.hpp"
#include "merge/run_outcome.hpp"

// The consistency checks of a report that was read. Each failed check gives
// one warning line that ends with the report name; a report with warnings
// adds one entry to the run's warnings. The sixth check, that the gap table
// adds up to nGaps, tells that a report was cut short or damaged: its gaps are
// then missing from the merged result.
namespace gapmerge {

constexpr double deviationLimit = 0.0036;

constexpr std::string_view gapTableMismatch = "Gap table and nGaps values do not match in ";

// True when the quantities of the gap table sum to nGaps, or when a slice
// without primes lists no gap and says -1 gaps.
bool gapTableAddsUp(const ReportRecord& record);

// The estimate of the number of primes from 0 to x: x / (ln(x + 1) - 1).
double primeCountEstimate(double x);

// The estimate for the name bounds rounded half to even; none when it is not
// a finite number that fits in 64 bits.
std::optional<std::int64_t> estimatedPrimes(std::int64_t fileNmin, std::int64_t fileNmax);

// |1 - estimate / nPrimes|; NaN when there is no estimate.
double deviation(const ReportRecord& record);

// The report's warning lines, in check order; none when every check passes.
std::vector<std::string> reportWarnings(const ReportRecord& record, std::string_view reportName);

// Runs the checks and adds the report's entry to the run's warnings.
void checkReport(const ReportRecord& record, std::string_view reportName,
                 std::vector<WarningEntry>& runWarnings);

}  // namespace gapmerge
