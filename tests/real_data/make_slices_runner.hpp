#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program.hpp"

// Runs the built make-slices generator.
namespace gapmerge::test {

ProgramResult runMakeSlices(const std::vector<std::string>& arguments);

// Writes the reports of [from, to] cut into count slices into folder, with the
// default time stamp; true when make-slices succeeded.
bool makeSlices(long long from, long long to, int count, const std::filesystem::path& folder);

}  // namespace gapmerge::test
