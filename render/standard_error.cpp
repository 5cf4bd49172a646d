#include "render/standard_error.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/number_format.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

// "1 report could not be read", "2 reports could not be read".
std::string counted(std::int64_t count, std::string_view one, std::string_view many) {
  return formatGroupedInteger(count) + " " + std::string(count == 1 ? one : many);
}

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return counted(static_cast<std::int64_t>(count), one, many);
}

std::string mergedFileLine(const MergedFileStatus& merged) {
  if (merged.complete) {
    return {};
  }
  if (!merged.created) {
    return "gapmerge: cannot create " + merged.path + ": " + merged.problem + "\n";
  }
  return "gapmerge: cannot write " + merged.path + ": " + merged.problem +
         (merged.previousExists ? "; the previous fileout.txt was kept\n"
                                : "; no fileout.txt was written\n");
}

std::string verificationLine(const RunOutcome& outcome) {
  if (!outcome.verification) {
    return {};
  }
  const VerificationTally& tally = *outcome.verification;
  std::string line = "gapmerge: verified " +
                     formatGroupedInteger(static_cast<std::int64_t>(tally.verified)) + " of " +
                     counted(outcome.reports, "report", "reports") + " (seed " +
                     std::to_string(tally.seed) + "): ";
  line += tally.mismatched == 0 ? "all match" : counted(tally.mismatched, "differs", "differ");
  if (tally.notVerifiable > 0) {
    line += ", " + counted(tally.notVerifiable, "not verifiable", "not verifiable");
  }
  return line + "\n";
}

std::string grouped(std::int64_t value) {
  return formatGroupedInteger(value);
}

std::string rangeText(const BoundRange& range) {
  return grouped(range.from) + " to " + grouped(range.to);
}

// 10^k for a power of ten, grouped digits otherwise.
std::string limitText(std::uint64_t limit) {
  int exponent = 0;
  std::uint64_t power = 1;
  while (power < limit && exponent < 19) {
    power *= 10;
    ++exponent;
  }
  if (power == limit && exponent > 1) {
    return "10^" + std::to_string(exponent);
  }
  return grouped(static_cast<std::int64_t>(std::min<std::uint64_t>(limit, INT64_MAX)));
}

// "50.847.534 primes from 1 to 1.000.000.000, as many as there are", or with
// ", but there are N (k missing)" or "(k more than there are)".
std::string primeCountText(const PrimeCountCheck& count) {
  std::string text = counted(count.merged, "prime", "primes") + " from " + rangeText(count.range);
  if (count.primes == count.merged) {
    return text + ", as many as there are";
  }
  const std::int64_t difference = subtractWrap(count.primes, count.merged);
  return text + ", but there are " + grouped(count.primes) + " (" +
         (difference > 0 ? grouped(difference) + " missing)"
                         : grouped(negateWrap(difference)) + " more than there are)");
}

std::string notCountedReason(const PrimeCountCheck& count) {
  switch (count.state) {
    case PrimeCountState::aboveLimit:
      return "above --count-limit " + limitText(count.limit);
    case PrimeCountState::notARange:
      return "the bounds in the names are not a range from 0 up";
    case PrimeCountState::failed:
      return count.failure;
    case PrimeCountState::counted:
      break;
  }
  return {};
}

std::string primeCountLine(const RunOutcome& outcome) {
  if (!outcome.primeCount) {
    return {};
  }
  const PrimeCountCheck& count = *outcome.primeCount;
  if (count.state != PrimeCountState::counted) {
    return "gapmerge: primes from " + rangeText(count.range) + " not counted (" +
           notCountedReason(count) + ")\n";
  }
  return "gapmerge: the merged gaps join " + primeCountText(count) + "\n";
}

// The largest gap size with a count; 0 without one.
std::int64_t largestGap(const RunOutcome& outcome) {
  const auto& counts = outcome.finalBlock.counts;
  return counts.empty() ? 0 : counts.back().gap;
}

// "1 to 1.000.000.000 in 100 reports: 50.847.534 primes, 3.424.506 twin
// primes, largest gap 282", and a line on the estimate check when it fired.
std::string summaryLines(const RunOutcome& outcome) {
  if (outcome.reportsMerged == 0) {
    return {};
  }
  std::string line = "gapmerge: " + rangeText(outcome.bounds) + " in " +
                     counted(outcome.reportsMerged, "report", "reports") + ": " +
                     counted(outcome.primesMerged, "prime", "primes") + ", " +
                     counted(outcome.histogram[2], "twin prime", "twin primes");
  if (largestGap(outcome) > 0) {
    line += ", largest gap " + grouped(largestGap(outcome));
  }
  line += "\n";
  if (outcome.estimateWarnings > 0) {
    line += "gapmerge: " + counted(outcome.estimateWarnings, "report differs", "reports differ") +
            " from the prime estimate by more than its tolerance (a rough estimate; not a sign "
            "of damage)\n";
  }
  return line;
}

// What the merged result lacks, each part counted: "2 reports could not be
// read", ...
std::vector<std::string> shortfallParts(const RunOutcome& outcome) {
  const Shortfall& lack = outcome.shortfall;
  std::vector<std::string> parts;
  if (outcome.reports == 0) {
    parts.emplace_back("no report found");
  }
  const auto add = [&parts](std::size_t count, std::string_view one, std::string_view many) {
    if (count > 0) {
      parts.push_back(counted(count, one, many));
    }
  };
  add(lack.reportsUnread, "report could not be read", "reports could not be read");
  add(outcome.unlistedFolders.size(), "folder could not be listed", "folders could not be listed");
  add(lack.joinsBroken, "slice join is broken", "slice joins are broken");
  add(lack.reportsNotAddingUp, "report does not add up", "reports do not add up");
  add(lack.repeatsDiffering, "repeated slice differs", "repeated slices differ");
  return parts;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string text;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    text.append(k == 0 ? "" : separator).append(parts[k]);
  }
  return text;
}

std::string shortfallLine(const RunOutcome& outcome) {
  if (!isIncomplete(outcome)) {
    return {};
  }
  const Shortfall& lack = outcome.shortfall;
  std::string line = "gapmerge: the result is incomplete: " + joined(shortfallParts(outcome), ", ");
  if (!outcome.warnings.empty()) {
    line += " (see the warnings)";
  }
  if (lack.joinInRangeOrder) {
    line += "; the reports join in range order: run again with --range-order";
  }
  if (lack.repeatsDiffering > 0) {
    line += "; --verify all sieves the reports again and tells which copy is right";
  }
  return line + "\n";
}

}  // namespace

std::string linksLine(std::size_t linksNotFollowed) {
  if (linksNotFollowed == 0) {
    return {};
  }
  return "gapmerge: " + counted(linksNotFollowed, "link to a folder was", "links to folders were") +
         " not followed (--follow follows links)\n";
}

std::string publishedLine(const PublishedComparison& comparison) {
  const std::string below = "10^" + std::to_string(comparison.exponent);
  if (comparison.agrees) {
    return "gapmerge: agrees with the published counts below " + below +
           " (primes, gaps of 2, 4, 6 and 8, largest gap " +
           formatGroupedInteger(comparison.compared.back().published) + ")\n";
  }
  std::string line = "gapmerge: differs from the published counts below " + below + ": ";
  std::string_view separator;
  for (const ComparedCount& count : comparison.compared) {
    if (count.published != count.merged) {
      line.append(separator).append(count.name).append(": ");
      line += formatGroupedInteger(count.merged) + " merged, " +
              formatGroupedInteger(count.published) + " published";
      separator = "; ";
    }
  }
  return line + "\n";
}

std::string resultLines(const RunOutcome& outcome, bool withSummary) {
  return (withSummary ? summaryLines(outcome) : "") + mergedFileLine(outcome.mergedFile) +
         verificationLine(outcome) + (outcome.published ? publishedLine(*outcome.published) : "") +
         primeCountLine(outcome) + shortfallLine(outcome);
}

std::string verdictText(const RunOutcome& outcome) {
  std::vector<std::string> wrong;
  if (!outcome.mergedFile.complete) {
    wrong.push_back("fileout.txt could not be written: " + outcome.mergedFile.problem);
  }
  if (!outcome.exportsWritten) {
    wrong.emplace_back("an export could not be written");
  }
  if (isIncomplete(outcome)) {
    wrong.push_back("incomplete: " + joined(shortfallParts(outcome), ", "));
  }
  if (outcome.verification && outcome.verification->mismatched > 0) {
    wrong.push_back(counted(outcome.verification->mismatched, "report differs", "reports differ") +
                    " from a fresh sieve");
  }
  if (outcome.published && !outcome.published->agrees) {
    wrong.push_back("differs from the published counts below 10^" +
                    std::to_string(outcome.published->exponent));
  }
  if (primeCountDiffers(outcome)) {
    wrong.push_back("the merged gaps join " + primeCountText(*outcome.primeCount));
  }
  if (!wrong.empty()) {
    std::string text = joined(wrong, "; ");
    text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    return text;
  }
  std::string text = "Complete: " + counted(outcome.reportsMerged, "report", "reports") + ", " +
                     counted(outcome.primesMerged, "prime", "primes") + " from " +
                     rangeText(outcome.bounds);
  if (outcome.primeCount && outcome.primeCount->state == PrimeCountState::counted) {
    return text + ", as many as there are";
  }
  if (outcome.primeCount) {
    return text + " (not counted: " + notCountedReason(*outcome.primeCount) + ")";
  }
  return text;
}

}  // namespace gapmerge
