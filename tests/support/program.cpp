#include "tests/support/program.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace gapmerge::test {

namespace {

std::string slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// In the child: sets up the folder, limits and output files, then runs the program.
[[noreturn]] void execGapmerge(const std::vector<std::string>& arguments, const std::string& folder,
                               const ProgramLimits& limits, const std::string& outPath,
                               const std::string& errPath) {
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
      ::dup2(err, 2) < 0 || (!folder.empty() && ::chdir(folder.c_str()) != 0)) {
    ::_exit(127);
  }
  if (limits.fileSizeLimit >= 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                       static_cast<rlim_t>(limits.fileSizeLimit)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  std::string program = GAPMERGE_EXE;
  argv.push_back(program.data());
  std::vector<std::string> copies(arguments);
  for (auto& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

ProgramResult runGapmerge(const std::vector<std::string>& arguments, const std::string& folder,
                          const ProgramLimits& limits) {
  const auto base = std::filesystem::temp_directory_path() /
                    ("gapmerge-run-" + std::to_string(::getpid()));
  const std::string outPath = base.string() + ".out";
  const std::string errPath = base.string() + ".err";
  ProgramResult result;
  const pid_t child = ::fork();
  if (child == 0) {
    execGapmerge(arguments, folder, limits, outPath, errPath);
  }
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

}  // namespace gapmerge::test
