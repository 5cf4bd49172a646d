#include "tests/support/program.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace gapmerge::test {

namespace {

// In the child: sets up the folder, limits and output pipes, then runs the program.
[[noreturn]] void execGapmerge(const std::vector<std::string>& arguments, const std::string& folder,
                               const ProgramLimits& limits, int out, int err) {
  const int in = ::open("/dev/null", O_RDONLY);
  if (in < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
      (!folder.empty() && ::chdir(folder.c_str()) != 0)) {
    ::_exit(127);
  }
  if (limits.fileSizeLimit >= 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                       static_cast<rlim_t>(limits.fileSizeLimit)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<std::string> copies(arguments);
  std::string program = GAPMERGE_EXE;
  std::vector<char*> argv{program.data()};
  for (auto& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

// Reads both pipes until the child has closed them.
void collectOutput(int out, int err, ProgramResult& result) {
  std::array<pollfd, 2> fds{pollfd{out, POLLIN, 0}, pollfd{err, POLLIN, 0}};
  std::array<std::string*, 2> targets{&result.out, &result.err};
  std::array<char, 65536> buffer{};
  int open = 2;
  while (open > 0 && ::poll(fds.data(), fds.size(), -1) >= 0) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) {
        continue;
      }
      const ssize_t got = ::read(fds[i].fd, buffer.data(), buffer.size());
      if (got > 0) {
        targets[i]->append(buffer.data(), static_cast<std::size_t>(got));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

ProgramResult runGapmerge(const std::vector<std::string>& arguments, const std::string& folder,
                          const ProgramLimits& limits) {
  std::array<int, 2> out{};
  std::array<int, 2> err{};
  ProgramResult result;
  if (::pipe2(out.data(), O_CLOEXEC) != 0 || ::pipe2(err.data(), O_CLOEXEC) != 0) {
    return result;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    execGapmerge(arguments, folder, limits, out[1], err[1]);
  }
  ::close(out[1]);
  ::close(err[1]);
  collectOutput(out[0], err[0], result);
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

}  // namespace gapmerge::test
