#include "render/standard_error.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/number_format.hpp"

namespace gapmerge {

namespace {

// "1 report could not be read", "2 reports could not be read".
std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return formatGroupedInteger(static_cast<std::int64_t>(count)) + " " +
         std::string(count == 1 ? one : many);
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

std::string shortfallLine(const RunOutcome& outcome) {
  if (!isIncomplete(outcome)) {
    return {};
  }
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
  std::string line = "gapmerge: the result is incomplete: ";
  for (std::size_t k = 0; k < parts.size(); ++k) {
    line.append(k == 0 ? "" : ", ").append(parts[k]);
  }
  line += " (see the warnings)";
  if (lack.joinInRangeOrder) {
    line += "; the reports join in range order: run again with --range-order";
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

std::string resultLines(const RunOutcome& outcome) {
  return mergedFileLine(outcome.mergedFile) + verificationLine(outcome) +
         (outcome.published ? publishedLine(*outcome.published) : "") + shortfallLine(outcome);
}

}  // namespace gapmerge
