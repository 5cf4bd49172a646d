#include "app/command_line.hpp"

namespace gapmerge {

namespace {

CommandLine usageError(std::string message) {
  CommandLine line;
  line.command = Command::usageError;
  line.error = std::move(message);
  return line;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string_view>& arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      line.command = Command::help;
      return line;
    }
    if (argument == "--version") {
      line.command = Command::version;
      return line;
    }
    if (argument == "--batch") {
      line.command = Command::batch;
    } else if (argument == "--range-order") {
      line.rangeOrder = true;
    } else if (argument == "-C" || argument == "--directory") {
      if (i + 1 == arguments.size()) {
        return usageError(std::string(argument) + " needs a directory");
      }
      line.directory = arguments[++i];
    } else if (argument.starts_with("--directory=")) {
      line.directory = argument.substr(std::string_view("--directory=").size());
    } else {
      return usageError("unknown argument '" + std::string(argument) + "'");
    }
  }
  return line;
}

std::string usageText() {
  return "usage: gapmerge [--batch] [--range-order] [-C DIR]\n";
}

std::string helpText() {
  return usageText() +
         "\n"
         "Merges the gap tables of every Tramvelok slice report found in the current\n"
         "directory and below it into one prime-gap histogram, checks each report for\n"
         "consistency, and writes the merged statistics to fileout.txt in that directory.\n"
         "\n"
         "Without options the result is shown in a window, after a question whether to\n"
         "open fileout.txt with the desktop's default application.\n"
         "\n"
         "options:\n"
         "  --batch              no window and no question: print the result text (the\n"
         "                       closing summary, the last report name, the directory and\n"
         "                       the warnings) to standard output\n"
         "  -C, --directory DIR  run in DIR instead of the current directory\n"
         "  --range-order        process the reports by the lower bound in their names\n"
         "                       (then by path) instead of by path alone; use it when the\n"
         "                       bounds in the names change their number of digits\n"
         "                       (1 to 100.000.000, then 100.000.001 to ...)\n"
         "  -h, --help           show this help\n"
         "  --version            show the version\n"
         "\n"
         "exit status: 0 when fileout.txt was written completely, 1 when it could not be\n"
         "created or written (or no window could be opened), 2 on a usage error.\n";
}

}  // namespace gapmerge
