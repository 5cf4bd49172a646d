#include "tests/support/program.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <future>

namespace gapmerge::test {

namespace {

// Everything read from fd until its writers close it; then closes it.
std::string readAll(int fd) {
  std::string text;
  std::array<char, 65536> buffer{};
  for (ssize_t got = 0; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
    text.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

}  // namespace

ProgramResult runProgram(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& folder, const ProgramLimits& limits) {
  std::array<int, 2> out{};
  std::array<int, 2> err{};
  ProgramResult result;
  if (::pipe2(out.data(), O_CLOEXEC) != 0 || ::pipe2(err.data(), O_CLOEXEC) != 0) {
    return result;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    if (in < 0 || ::dup2(in, 0) < 0 || ::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0 ||
        (!folder.empty() && ::chdir(folder.c_str()) != 0)) {
      ::_exit(127);
    }
    if (limits.fileSizeLimit >= 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const auto size = static_cast<rlim_t>(limits.fileSizeLimit);
      const rlimit limit{size, size};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::vector<std::string> copies(arguments);
    copies.insert(copies.begin(), path);
    std::vector<char*> argv;
    for (auto& argument : copies) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  auto errors = std::async(std::launch::async, readAll, err[0]);
  result.out = readAll(out[0]);
  result.err = errors.get();
  int status = 0;
  rusage usage{};
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
    result.peakMemoryKiB = usage.ru_maxrss;  // NOLINT(cppcoreguidelines-pro-type-union-access)
    if (WIFEXITED(status)) {
      result.exitStatus = WEXITSTATUS(status);
    }
  }
  return result;
}

ProgramResult runGapmerge(const std::vector<std::string>& arguments, const std::string& folder,
                          const ProgramLimits& limits) {
  return runProgram(GAPMERGE_EXE, arguments, folder, limits);
}

}  // namespace gapmerge::test
