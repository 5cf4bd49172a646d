#pragma once

#include <string>
#include <vector>

// Runs a built program of the project and collects what it printed.
namespace gapmerge::test {

struct ProgramResult {
  int exitStatus = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
  // The child's peak resident set in KiB (ru_maxrss), -1 when unknown. It
  // includes what the calling process held when it forked.
  long long peakMemoryKiB = -1;
};

struct ProgramLimits {
  long long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes, -1 for none; SIGXFSZ is then ignored
};

// Runs the program at path with arguments in folder (the current folder when
// empty), with standard input closed.
ProgramResult runProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& folder = {}, const ProgramLimits& limits = {});

// Runs the built gapmerge.
ProgramResult runGapmerge(const std::vector<std::string>& arguments, const std::string& folder = {},
                          const ProgramLimits& limits = {});

}  // namespace gapmerge::test
