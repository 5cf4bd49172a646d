#include "tests/real_data/real_data.hpp"

#include <gtest/gtest.h>

#include <map>
#include <primesieve.hpp>
#include <regex>
#include <sstream>

#include "tests/support/output.hpp"

namespace gapmerge::test {

namespace {

// How often consecutive primes in [from, to] lie each distance apart, as the
// merged file lists it: "[1, 1], [2, 4], ".
std::string gapList(std::uint64_t from, std::uint64_t to) {
  std::map<std::uint64_t, std::uint64_t> gaps;
  primesieve::iterator primes(from, to);
  std::uint64_t previous = primes.next_prime();
  for (std::uint64_t prime = primes.next_prime(); prime <= to; prime = primes.next_prime()) {
    ++gaps[prime - previous];
    previous = prime;
  }
  std::string list;
  for (const auto& [gap, quantity] : gaps) {
    list += "[" + std::to_string(gap) + ", " + std::to_string(quantity) + "], ";
  }
  return list;
}

// Every warning line --batch prints after the output folder is one of the
// estimate check's: ["<name> : "]"warning : " deviation, TAB, report name.
void expectOnlyEstimateWarnings(const std::string& out) {
  static const std::regex estimate(
      R"(^(Tramvelok [^\t]* : )?warning : [0-9]+\.[0-9]{12}\tTramvelok [^\t]*\.txt$)");
  std::istringstream lines(out.substr(out.find("\nOutputDirectory : ") + 1));
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    EXPECT_TRUE(line.empty() || std::regex_match(line, estimate)) << line;
  }
}

}  // namespace

ProgramResult runMakeSlices(const std::vector<std::string>& arguments) {
  return runProgram(MAKE_SLICES_EXE, arguments);
}

bool makeSlices(long long from, long long to, int count, const ScratchDir& dir) {
  return runMakeSlices({"--from", std::to_string(from), "--to", std::to_string(to), "--slices",
                        std::to_string(count), "--out", dir.path().string()})
             .exitStatus == 0;
}

void expectExactMerge(const ScratchDir& dir, std::uint64_t from, std::uint64_t to,
                      const std::string& lastReport, const std::vector<std::string>& extra,
                      const std::string& said) {
  std::vector<std::string> arguments{"--batch", "--quiet", "-C", dir.path().string()};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  const auto result = runGapmerge(arguments);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, said);
  EXPECT_EQ(lineAfter(result.out, "\nFileName : "), lastReport);
  EXPECT_EQ(lineAfter(result.out, "\nOutputDirectory : "), dir.asWorkingDirectory());
  expectOnlyEstimateWarnings(result.out);

  const std::string merged = readFile(dir.path() / "fileout.txt");
  const std::string total = std::to_string(primesieve::count_primes(from, to) - 1);
  EXPECT_EQ(lineAfter(merged, "\r\nGaps [gap, qty]\r\n\r\n"), gapList(from, to));
  EXPECT_EQ(lineAfter(merged, "\r\nnGaps = "), total);
  EXPECT_TRUE(merged.ends_with("\r\nnGaps : " + total + "\r\n"));
}

}  // namespace gapmerge::test
