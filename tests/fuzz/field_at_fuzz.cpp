// Fuzzes fieldAt. The input is cut into a field number (first byte, signed),
// a separator (length from the second byte, 0 to 7 bytes) and the text. The
// field found lies inside the text and holds no separator, and the fields
// joined with the separator give the text back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/strings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::int64_t n = 0;
  std::string_view separator;
  if (size >= 2) {
    n = static_cast<signed char>(text[0]);
    separator = text.substr(2, static_cast<unsigned char>(text[1]) % 8U);
    text.remove_prefix(2 + separator.size());
  }
  const std::string_view field = gapmerge::fieldAt(text, n, separator);
  const bool inside = field.empty() || (field.data() >= text.data() &&
                                        field.data() + field.size() <= text.data() + text.size());
  if (!inside || (!separator.empty() && field.find(separator) != std::string_view::npos)) {
    std::abort();
  }
  if (separator.empty()) {
    return 0;
  }
  std::string joined(gapmerge::fieldAt(text, 1, separator));
  for (std::int64_t i = 2; joined.size() < text.size(); ++i) {
    joined.append(separator).append(gapmerge::fieldAt(text, i, separator));
  }
  if (joined != text) {
    std::abort();
  }
  return 0;
}
