// Fuzzes parseInteger: blanks in front change nothing, a minus sign negates,
// and short decimals read as from_chars reads them.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/strings.hpp"
#include "text/wrap.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string s(reinterpret_cast<const char*>(data), size);
  const std::int64_t value = gapmerge::parseInteger(s);
  if (gapmerge::parseInteger(" \t" + s) != value) {
    std::abort();
  }
  if (!s.empty() && std::string_view(" \t-+").find(s.front()) == std::string_view::npos &&
      gapmerge::parseInteger("-" + s) != gapmerge::negateWrap(value)) {
    std::abort();
  }
  if (!s.empty() && size <= 18 && s.find_first_not_of("0123456789") == std::string::npos) {
    std::int64_t expected = 0;
    std::from_chars(s.data(), s.data() + size, expected);
    if (value != expected) {
      std::abort();
    }
  }
  return 0;
}
