#include "tests/real_data/make_slices_runner.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {

namespace {

[[noreturn]] void execMakeSlices(const std::vector<std::string>& arguments,
                                 const std::string& outPath, const std::string& errPath) {
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
      ::dup2(err, 2) < 0) {
    ::_exit(127);
  }
  std::string program = MAKE_SLICES_EXE;
  std::vector<std::string> copies(arguments);
  std::vector<char*> argv{program.data()};
  for (auto& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

ProgramResult runMakeSlices(const std::vector<std::string>& arguments) {
  const auto base =
      std::filesystem::temp_directory_path() / ("make-slices-run-" + std::to_string(::getpid()));
  const std::string outPath = base.string() + ".out";
  const std::string errPath = base.string() + ".err";
  ProgramResult result;
  const pid_t child = ::fork();
  if (child == 0) {
    execMakeSlices(arguments, outPath, errPath);
  }
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  result.out = readFile(outPath);
  result.err = readFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

bool makeSlices(long long from, long long to, int count, const std::filesystem::path& folder) {
  return runMakeSlices({"--from", std::to_string(from), "--to", std::to_string(to), "--slices",
                        std::to_string(count), "--out", folder.string()})
             .exitStatus == 0;
}

}  // namespace gapmerge::test
