#include "render/messages.hpp"

#include "text/number_format.hpp"

namespace gapmerge {

namespace {

constexpr int deviationDecimals = 12;

// The key of a line as the warning names it.
std::string_view keyText(KeyLine line) {
  switch (line) {
    case KeyLine::nmin:
      return "nmin =";
    case KeyLine::nmax:
      return "nmax =";
    case KeyLine::found:
      return "Tramvelok - found";
    case KeyLine::primesIn:
      return "primes in";
    case KeyLine::totalGaps:
      return "Tramvelok - Total gaps :";
    case KeyLine::firstPrime:
      return "First prime in range :";
    case KeyLine::lastPrime:
      return "Last prime in range :";
    case KeyLine::gapTable:
      break;
  }
  return "Gaps [gap, qty]";
}

// "1 item", "2 items".
std::string counted(std::int64_t count, std::string_view word) {
  return formatGroupedInteger(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

std::string checkLine(const FailedCheck& failed, std::string_view name) {
  std::string line;
  switch (failed.check) {
    case Check::range:
      line = "min-max values do not match in ";
      break;
    case Check::doubleCount:
      line = "Double control nPrimes / nPrimes2 is false in ";
      break;
    case Check::gapsAgainstPrimes:
      line = "nGaps / nPrimes values do not match in ";
      break;
    case Check::gradeLines:
      line = "There is a bug on nPrimes / nGaps check in the file";
      break;
    case Check::estimate:
      line = "warning : " + formatFixed(failed.deviation, deviationDecimals) + "\t";
      break;
    case Check::gapTable:
      line = "Gap table and nGaps values do not match in ";
      break;
    case Check::gapSpan:
      line = "Gap table and first/last prime values do not match in ";
      break;
    case Check::lineMissing:
      line = "Line \"" + std::string(keyText(failed.line)) + "\" missing in ";
      break;
    case Check::gapsOutside:
      line = "Gap sizes outside 0 to 2000 not counted: " + counted(failed.items, "item") + ", " +
             counted(failed.gaps, "gap") + " in ";
      break;
  }
  return line.append(name);
}

std::string times(std::int64_t count) {
  return formatInteger(count) + (count == 1 ? " time" : " times");
}

std::string_view valueName(Differing what) {
  switch (what) {
    case Differing::firstPrime:
      return "first prime";
    case Differing::lastPrime:
      return "last prime";
    case Differing::primes:
      return "number of primes";
    default:
      return "number of gaps";
  }
}

// "<what> <said> in the report, <found> by the sieve", values grouped with "."
// as the report's key lines write them; either side may give none.
std::string valueText(const Difference& difference) {
  const std::string what(valueName(difference.what));
  const std::string bySieve =
      (difference.found ? formatGroupedInteger(*difference.found) : "none") + " by the sieve";
  if (!difference.said) {
    return "no " + what + " in the report, " + bySieve;
  }
  return what + " " + formatGroupedInteger(*difference.said) + " in the report, " + bySieve;
}

// Each kind of warning, in its own words.
struct LineOf {
  std::string_view subject;

  std::string operator()(const FailedCheck& failed) const { return checkLine(failed, subject); }
  std::string operator()(const ReportUnopened& /*unopened*/) const {
    return "Report could not be opened, nothing merged from " + std::string(subject);
  }
  std::string operator()(const SlicesDoNotJoin& join) const {
    if (join.primesLeftOut > 0) {
      return "Slices do not join: " + formatInteger(join.primesLeftOut) +
             (join.primesLeftOut == 1 ? " prime" : " primes") + " between " +
             formatInteger(join.previousLastPrime) + " and " + formatInteger(join.firstPrime) +
             ", in no report (after " + join.previousReport + ")";
    }
    return "Slices do not join: mid gap " + formatInteger(join.midGap) + " after " +
           join.previousReport;
  }
  std::string operator()(const ReportRepeats& repeat) const {
    return repeat.differs ? "Report covers the range of " + repeat.first +
                                " but differs from it, nothing merged from it"
                          : "Report repeats " + repeat.first + ", nothing merged from it";
  }
  std::string operator()(const MergedFileNotCreated& merged) const {
    return "Merged results file could not be created in " + merged.directory;
  }
  std::string operator()(const MergedFileIncomplete& merged) const {
    return "Merged results file is incomplete, writing failed in " + merged.directory;
  }
  std::string operator()(const FolderUnlisted& folder) const {
    return "Folder could not be listed (" + folder.reason + "), nothing merged from it";
  }
  std::string operator()(const ReportDiffers& differs) const {
    return "Report does not match a fresh sieve of its range: " +
           differenceText(differs.difference);
  }
  std::string operator()(const ReportNotVerifiable& verdict) const {
    return verdict.tooWide
               ? "Report is not verifiable: its range is wider than the limit of --verify-limit"
               : "Report is not verifiable: the bounds in its name are not a range of integers "
                 "from 0 up";
  }
};

}  // namespace

std::string warningLine(const Warning& warning, std::string_view subject) {
  return std::visit(LineOf{subject}, warning);
}

std::vector<std::string> warningLines(const WarningEntry& entry) {
  std::vector<std::string> lines;
  lines.reserve(entry.warnings.size());
  for (const auto& warning : entry.warnings) {
    lines.push_back(warningLine(warning, entry.subject));
  }
  return lines;
}

std::string warningsText(const std::vector<WarningEntry>& entries, std::string_view entryEnd) {
  std::string text;
  for (const auto& entry : entries) {
    text.append(entry.subject).append(" : ");
    for (const auto& warning : entry.warnings) {
      text.append(warningLine(warning, entry.subject)).push_back('\n');
    }
    text.append(entryEnd);
  }
  return text;
}

std::string differenceText(const Difference& difference) {
  const std::string gap = "gap " + formatInteger(difference.gap);
  switch (difference.what) {
    case Differing::gapOnlyBySieve:
      return gap + " not listed in the report, counted " + times(difference.found.value_or(0)) +
             " by the sieve";
    case Differing::gapOnlyInReport:
      return gap + " counted " + times(difference.said.value_or(0)) +
             " in the report, never by the sieve";
    case Differing::gapCount:
      return gap + " counted " + times(difference.said.value_or(0)) + " in the report, " +
             times(difference.found.value_or(0)) + " by the sieve";
    default:
      return valueText(difference);
  }
}

}  // namespace gapmerge
