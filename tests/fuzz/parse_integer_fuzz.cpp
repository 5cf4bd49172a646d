// Fuzzes parseInteger: any bytes give a value, blanks in front change nothing,
// a minus sign negates, and short decimals read as from_chars reads them.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/strings.hpp"
#include "text/wrap.hpp"

namespace {

constexpr std::size_t maxExactDigits = 18;

bool isDecimal(std::string_view s) {
  return !s.empty() && s.size() <= maxExactDigits &&
         s.find_first_not_of("0123456789") == std::string_view::npos;
}

void checkBlanksAndSign(std::string_view s, std::int64_t value) {
  if (gapmerge::parseInteger(" \t" + std::string(s)) != value) {
    std::abort();
  }
  const bool startsWithDigitOrBase =
      !s.empty() && s.front() != ' ' && s.front() != '\t' && s.front() != '-' && s.front() != '+';
  if (startsWithDigitOrBase &&
      gapmerge::parseInteger("-" + std::string(s)) != gapmerge::negateWrap(value)) {
    std::abort();
  }
}

void checkAgainstFromChars(std::string_view s, std::int64_t value) {
  if (!isDecimal(s)) {
    return;
  }
  std::int64_t expected = 0;
  std::from_chars(s.data(), s.data() + s.size(), expected);
  if (value != expected) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  const std::int64_t value = gapmerge::parseInteger(s);
  checkBlanksAndSign(s, value);
  checkAgainstFromChars(s, value);
  return 0;
}
