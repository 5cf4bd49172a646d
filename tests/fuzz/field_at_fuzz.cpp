// Fuzzes fieldAt. The input is cut into a field number (first byte, signed),
// a separator (length from the second byte, 0 to 7 bytes) and the text. The
// field found lies inside the text, holds no separator, and the fields joined
// with the separator give the text back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/strings.hpp"

namespace {

struct FieldInput {
  std::int64_t n = 0;
  std::string_view separator;
  std::string_view text;
};

FieldInput splitInput(std::string_view bytes) {
  FieldInput input;
  if (bytes.size() < 2) {
    input.text = bytes;
    return input;
  }
  input.n = static_cast<signed char>(bytes[0]);
  const std::size_t separatorSize = static_cast<unsigned char>(bytes[1]) % 8U;
  bytes.remove_prefix(2);
  input.separator = bytes.substr(0, separatorSize);
  input.text = bytes.substr(input.separator.size());
  return input;
}

bool liesInside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void checkField(const FieldInput& input, std::string_view field) {
  if (!liesInside(field, input.text)) {
    std::abort();
  }
  if (!input.separator.empty() && field.find(input.separator) != std::string_view::npos) {
    std::abort();
  }
  if (input.n < 1 && !field.empty()) {
    std::abort();
  }
}

// Joins the fields 1, 2, ... until the joined text is as long as the text.
void checkJoin(const FieldInput& input) {
  if (input.separator.empty()) {
    return;
  }
  std::string joined(gapmerge::fieldAt(input.text, 1, input.separator));
  for (std::int64_t n = 2; joined.size() < input.text.size(); ++n) {
    joined.append(input.separator).append(gapmerge::fieldAt(input.text, n, input.separator));
  }
  if (joined != input.text) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const FieldInput input = splitInput({reinterpret_cast<const char*>(data), size});
  checkField(input, gapmerge::fieldAt(input.text, input.n, input.separator));
  checkJoin(input);
  return 0;
}
