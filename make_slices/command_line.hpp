#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The command line of make-slices.
namespace make_slices {

enum class Command { generate, help, version, usageError };

struct Options {
  Command command = Command::generate;
  std::uint64_t from = 0;
  std::uint64_t to = 0;
  std::uint64_t slices = 0;            // --slices N; 0 when --size is given
  std::uint64_t size = 0;              // --size S; 0 when --slices is given
  std::optional<std::uint64_t> index;  // --index K: slice K (from 0) alone
  unsigned threads = 1;                // --threads N, else one per core
  std::string out;
  std::string stamp = "20261206120000";
  bool measureTime = false;
  std::string error;  // what was wrong, for Command::usageError
};

Options parseOptions(int argc, const char* const* argv);

std::string helpText();

}  // namespace make_slices
