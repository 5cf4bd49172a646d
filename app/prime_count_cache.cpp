#include "app/prime_count_cache.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "sieve/prime_count.hpp"
#include "text/whole_file.hpp"

namespace gapmerge {

namespace {

constexpr std::size_t keptCounts = 64;

// A check of a line's two numbers, so that a damaged line is not taken.
std::uint64_t lineCheck(std::int64_t x, std::int64_t primes) {
  std::uint64_t h = static_cast<std::uint64_t>(x) * 0x9E37'79B9'7F4A'7C15U;
  h ^= static_cast<std::uint64_t>(primes) + 0xD1B5'4A32'D192'ED03U + (h << 6U) + (h >> 2U);
  h ^= h >> 31U;
  h *= 0xBF58'476D'1CE4'E5B9U;
  return h ^ (h >> 29U);
}

// One saved line, "x primes check" with the check in hexadecimal; none when
// the line is not exactly that.
std::optional<std::pair<std::int64_t, std::int64_t>> parseLine(std::string_view line) {
  std::int64_t x = 0;
  std::int64_t primes = 0;
  std::uint64_t check = 0;
  const char* at = line.data();
  const char* end = line.data() + line.size();
  const auto field = [&](auto& value, int base, bool last) {
    const auto [next, error] = std::from_chars(at, end, value, base);
    if (error != std::errc{} || next == at || (last ? next != end : next == end || *next != ' ')) {
      return false;
    }
    at = last ? next : next + 1;
    return true;
  };
  if (!field(x, 10, false) || !field(primes, 10, false) || !field(check, 16, true) ||
      check != lineCheck(x, primes)) {
    return std::nullopt;
  }
  return std::pair{x, primes};
}

std::string folderOf(const char* variable, const char* below) {
  const char* value = std::getenv(variable);  // NOLINT(concurrency-mt-unsafe): nothing sets it
  if (value == nullptr || value[0] != '/') {
    return {};
  }
  return std::string(value) + below;
}

}  // namespace

std::string primeCountCachePath() {
  std::string folder = folderOf("XDG_CACHE_HOME", "");
  if (folder.empty()) {
    folder = folderOf("HOME", "/.cache");
  }
  return folder.empty() ? folder : folder + "/gapmerge/prime-counts";
}

PrimeCountCache::PrimeCountCache(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    return;
  }
  std::ifstream in(path_);
  std::string line;
  while (std::getline(in, line) && counts_.size() < keptCounts) {
    if (const auto count = parseLine(line)) {
      counts_.push_back(*count);
    }
  }
}

std::int64_t PrimeCountCache::primesUpTo(std::int64_t x) {
  if (x < 2) {
    return 0;
  }
  const auto known = std::find_if(counts_.begin(), counts_.end(),
                                  [x](const auto& count) { return count.first == x; });
  if (known != counts_.end()) {
    return known->second;
  }
  const std::int64_t primes = gapmerge::primesUpTo(x);
  if (counts_.size() == keptCounts) {
    counts_.erase(counts_.begin());
  }
  counts_.emplace_back(x, primes);
  changed_ = true;
  return primes;
}

void PrimeCountCache::save() const {
  if (!changed_ || path_.empty()) {
    return;
  }
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
  std::string text;
  for (const auto& [x, primes] : counts_) {
    text += std::to_string(x) + " " + std::to_string(primes) + " ";
    std::array<char, 17> check{};
    static_cast<void>(
        std::snprintf(check.data(), check.size(), "%016" PRIx64, lineCheck(x, primes)));
    text.append(check.data()).push_back('\n');
  }
  static_cast<void>(writeWholeFile(path_, text));
}

}  // namespace gapmerge
