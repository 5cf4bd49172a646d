#pragma once

#include <cstddef>
#include <string>

#include "outcome/run_outcome.hpp"

// What a run says about its result on standard error, and its verdict in the
// window's status bar; the warnings themselves go to the result text and the
// JSON export.
// Each line begins with "gapmerge: " and ends with LF; the numbers are grouped
// with "." as in the result text.
namespace gapmerge {

// "gapmerge: 1 link to a folder was not followed (--follow follows links)";
// "" when none was passed over.
std::string linksLine(std::size_t linksNotFollowed);

// "gapmerge: agrees with the published counts below 10^k (primes, gaps of 2,
// 4, 6 and 8, largest gap N)", or "gapmerge: differs from the published counts
// below 10^k: " and "NAME: M merged, P published" for every value that
// differs, joined by "; ".
std::string publishedLine(const PublishedComparison& comparison);

// The lines after a run: withSummary, what was merged ("gapmerge: 1 to
// 1.000.000.000 in 100 reports: 50.847.534 primes, ...") and how many reports
// the estimate check warned about; then why fileout.txt is not in place, what
// the verification found, how the result compares with the published counts
// and with the primes of its range, and what it lacks.
std::string resultLines(const RunOutcome& outcome, bool withSummary);

// The verdict in one line, for the window's status bar: "Complete: 100
// reports, 50.847.534 primes from 1 to 1.000.000.000, as many as there are",
// or what is wrong, in the words of the lines on standard error.
std::string verdictText(const RunOutcome& outcome);

}  // namespace gapmerge
