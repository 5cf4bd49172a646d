#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

// Real slice reports: make-slices sieves a range into reports, gapmerge merges
// them, and the result is compared with the primes counted here directly.
namespace gapmerge::test {

// Runs make-slices with standard input closed.
ProgramResult runMakeSlices(const std::vector<std::string>& arguments);

// Writes the reports of [from, to] cut into count slices into dir.
bool makeSlices(long long from, long long to, int count, const ScratchDir& dir);

// Merges the reports in dir with --batch --quiet and the extra arguments, and expects
// the gaps of the primes in [from, to] exactly, lastReport as the file name,
// no warning but those of the estimate check, and `said` on standard error.
void expectExactMerge(const ScratchDir& dir, std::uint64_t from, std::uint64_t to,
                      const std::string& lastReport, const std::vector<std::string>& extra,
                      const std::string& said);

}  // namespace gapmerge::test
