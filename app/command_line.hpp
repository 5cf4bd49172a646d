#pragma once

#include <string>
#include <string_view>
#include <vector>

// The command line. Without arguments the program runs with its window.
namespace gapmerge {

enum class Command { window, batch, help, version, usageError };

struct CommandLine {
  Command command = Command::window;
  std::string directory;    // -C DIR: enter DIR before the run
  bool rangeOrder = false;  // --range-order
  std::string error;        // what was wrong, for Command::usageError
};

CommandLine parseCommandLine(const std::vector<std::string_view>& arguments);

std::string helpText();
std::string usageText();

}  // namespace gapmerge
