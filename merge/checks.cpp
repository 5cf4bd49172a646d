#include "merge/checks.hpp"

#include <cmath>
#include <utility>

#include "text/number_format.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr int deviationDecimals = 12;

// True when 10 to the power log10(n) gives n back exactly, as it does for
// every power of ten.
bool passesPowerOfTenRoundTrip(std::int64_t n) {
  const auto value = static_cast<double>(n);
  return std::pow(10.0, std::log10(value)) == value;
}

void addLine(std::vector<std::string>& warnings, std::string_view message,
             std::string_view reportName) {
  warnings.push_back(std::string(message).append(reportName));
}

}  // namespace

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

std::vector<std::string> reportWarnings(const ReportRecord& record, std::string_view reportName) {
  std::vector<std::string> warnings;
  if (record.fileNmin != record.nmin || record.fileNmax != record.nmax) {
    addLine(warnings, "min-max values do not match in ", reportName);
  }
  if (record.nPrimes != record.nPrimes2) {
    addLine(warnings, "Double control nPrimes / nPrimes2 is false in ", reportName);
  }
  if (addWrap(record.nGaps, 1) != record.nPrimes) {
    addLine(warnings, "nGaps / nPrimes values do not match in ", reportName);
  }
  if (!(record.goodGuess && record.excellent) && record.fileNmin <= 1 &&
      passesPowerOfTenRoundTrip(record.fileNmax)) {
    addLine(warnings, "There is a bug on nPrimes / nGaps check in the file", reportName);
  }
  if (const double d = deviation(record); d > deviationLimit) {
    addLine(warnings, "warning : " + formatFixed(d, deviationDecimals) + "\t", reportName);
  }
  if (!gapTableAddsUp(record)) {
    addLine(warnings, gapTableMismatch, reportName);
  }
  return warnings;
}

void checkReport(const ReportRecord& record, std::string_view reportName,
                 std::vector<WarningEntry>& runWarnings) {
  auto warnings = reportWarnings(record, reportName);
  if (!warnings.empty()) {
    runWarnings.push_back({std::string(reportName), std::move(warnings)});
  }
}

}  // namespace gapmerge
