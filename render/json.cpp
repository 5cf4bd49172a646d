#include "render/json.hpp"

#include <nlohmann/json.hpp>

#include "render/messages.hpp"
#include "text/strings.hpp"

namespace gapmerge {

namespace {

using Json = nlohmann::ordered_json;

Json pairOf(const BoundRange& range) {
  return Json::array({range.from, range.to});
}

Json rangeOf(const RunOutcome& outcome) {
  const auto range = nameRange(outcome);
  if (!range) {
    return nullptr;
  }
  return {{"from", range->from}, {"to", range->to}};
}

Json histogramOf(const RunOutcome& outcome) {
  Json pairs = Json::array();
  for (std::int64_t gap = 0; gap <= maxHistogramGap; ++gap) {
    const std::int64_t count = outcome.histogram[static_cast<std::size_t>(gap)];
    if (count != 0) {
      pairs.push_back(Json::array({gap, count}));
    }
  }
  return pairs;
}

Json warningsOf(const RunOutcome& outcome) {
  Json entries = Json::array();
  for (const auto& entry : outcome.warnings) {
    entries.push_back({{"subject", entry.subject}, {"messages", warningLines(entry)}});
  }
  return entries;
}

Json pairsOf(const std::vector<BoundRange>& ranges) {
  Json pairs = Json::array();
  for (const auto& range : ranges) {
    pairs.push_back(pairOf(range));
  }
  return pairs;
}

// The export lists unreadable reports by name, as it always has; the
// coverage listing shows their folders too.
Json namesOf(const std::vector<std::string>& paths) {
  Json names = Json::array();
  for (const auto& path : paths) {
    names.push_back(std::string(filePart(path)));
  }
  return names;
}

Json coverageOf(const Coverage& coverage) {
  Json covered = Json::array();
  for (const auto& interval : coverage.covered) {
    covered.push_back(pairOf(interval.range));
  }
  return {{"covered", covered},
          {"holes", pairsOf(coverage.holes)},
          {"overlaps", pairsOf(coverage.overlaps)},
          {"duplicates", coverage.duplicates},
          {"unreadable", namesOf(coverage.unreadable)}};
}

Json verificationOf(const RunOutcome& outcome) {
  if (!outcome.verification) {
    return nullptr;
  }
  const auto& tally = *outcome.verification;
  return {{"seed", tally.seed},
          {"chosen", tally.chosen},
          {"verified", tally.verified},
          {"mismatched", tally.mismatched},
          {"not_verifiable", tally.notVerifiable}};
}

Json unlistedOf(const RunOutcome& outcome) {
  Json paths = Json::array();
  for (const auto& folder : outcome.unlistedFolders) {
    paths.push_back(folder.path);
  }
  return paths;
}

Json expectedOf(const RunOutcome& outcome) {
  constexpr double shown = 0.5;
  Json pairs = Json::array();
  for (std::int64_t gap = 0; gap <= maxHistogramGap; ++gap) {
    const auto at = static_cast<std::size_t>(gap);
    if (outcome.histogram[at] != 0 || outcome.expected[at] >= shown) {
      pairs.push_back(Json::array({gap, outcome.expected[at]}));
    }
  }
  return pairs;
}

Json publishedOf(const RunOutcome& outcome) {
  if (!outcome.published) {
    return nullptr;
  }
  Json compared = Json::array();
  for (const auto& [name, published, merged] : outcome.published->compared) {
    compared.push_back({{"name", name}, {"published", published}, {"merged", merged}});
  }
  return {{"below", outcome.published->below},
          {"agrees", outcome.published->agrees},
          {"compared", compared}};
}

Json primeCountOf(const RunOutcome& outcome) {
  const auto& count = outcome.primeCount;
  if (!count || count->state != PrimeCountState::counted) {
    return nullptr;
  }
  return {{"from", count->range.from},
          {"to", count->range.to},
          {"primes", count->primes},
          {"merged", count->merged},
          {"agrees", count->primes == count->merged}};
}

}  // namespace

std::string jsonText(const RunOutcome& outcome, std::string_view version) {
  Json json;
  json["version"] = version;
  json["directory"] = outcome.directory;
  json["order"] = outcome.order == ReportOrder::range ? "range" : "path";
  json["reports"] = outcome.reports;
  json["range"] = rangeOf(outcome);
  json["gaps"] = outcome.finalBlock.divisor;
  json["histogram"] = histogramOf(outcome);
  json["residues"] = outcome.finalBlock.classTotals;
  json["warnings"] = warningsOf(outcome);
  json["merged_file"] = {{"path", outcome.mergedFile.path},
                         {"complete", outcome.mergedFile.complete}};
  json["coverage"] = coverageOf(outcome.coverage);
  json["verification"] = verificationOf(outcome);
  json["unlisted_folders"] = unlistedOf(outcome);
  json["model"] = {{"name", gapModelName}, {"reference", gapModelReference}};
  json["expected"] = expectedOf(outcome);
  json["published"] = publishedOf(outcome);
  json["prime_count"] = primeCountOf(outcome);
  return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace gapmerge
