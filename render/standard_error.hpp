#pragma once

#include <cstddef>
#include <string>

#include "outcome/run_outcome.hpp"

// What a run says about its result on standard error; the warnings themselves
// go to the result text and the JSON export.
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

// The lines after a run: why fileout.txt is not in place, what the
// verification found, how the result compares with the published counts, and
// what it lacks; "" for a complete run that is not compared.
std::string resultLines(const RunOutcome& outcome);

}  // namespace gapmerge
