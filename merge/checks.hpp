#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "merge/report.hpp"

// The five consistency checks of a report that was read. Each failed check
// adds one line (message + report name + LF) to the report's warnings; a
// report with warnings adds "name : " + its warnings + CR LF to the run's.
namespace gapmerge {

constexpr double deviationLimit = 0.0036;

// The estimate of the number of primes from 0 to x: x / (ln(x + 1) - 1).
double primeCountEstimate(double x);

// The estimate for the name bounds rounded half to even; none when it is not
// a finite number that fits in 64 bits.
std::optional<std::int64_t> estimatedPrimes(std::int64_t fileNmin, std::int64_t fileNmax);

// |1 - estimate / nPrimes|; NaN when there is no estimate.
double deviation(const ReportRecord& record);

// The report's warnings text; empty when every check passes.
std::string reportWarnings(const ReportRecord& record, std::string_view reportName);

// Appends one entry to the run's warnings: subject + " : " + lines + CR LF,
// where lines are LF-terminated warning lines that each end with a name.
void appendWarningEntry(std::string& runWarnings, std::string_view subject, std::string_view lines);

// Runs the checks and appends the report's entry to runWarnings.
void checkReport(const ReportRecord& record, std::string_view reportName, std::string& runWarnings);

}  // namespace gapmerge
