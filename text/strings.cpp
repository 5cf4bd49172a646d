#include "text/strings.hpp"

#include <filesystem>
#include <system_error>

#include "text/wrap.hpp"

namespace gapmerge {

std::string replaceAll(std::string_view s, std::string_view find, std::string_view replacement) {
  if (find.empty()) {
    return std::string(s);
  }
  std::string out;
  out.reserve(s.size());
  std::size_t from = 0;
  for (auto at = s.find(find); at != std::string_view::npos; at = s.find(find, from)) {
    out.append(s.substr(from, at - from)).append(replacement);
    from = at + find.size();
  }
  out.append(s.substr(from));
  return out;
}

std::string_view fieldAt(std::string_view s, std::int64_t n, std::string_view separator) {
  if (n < 1) {
    return {};
  }
  if (separator.empty()) {
    return n == 1 ? s : std::string_view{};
  }
  std::size_t begin = 0;
  for (std::int64_t field = 1; field < n; ++field) {
    const auto at = s.find(separator, begin);
    if (at == std::string_view::npos) {
      return {};
    }
    begin = at + separator.size();
  }
  const auto end = s.find(separator, begin);
  return s.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

std::string_view trimSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

namespace {

// The value of c as a digit of base, or -1 when it is not one.
int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// Where the digits of an integer begin: after blanks and tabs, an optional
// sign and an optional base mark. Inlined: parseInteger is on the hot path of
// every gap table item.
struct IntegerStart {
  std::size_t at = 0;
  int base = 10;
  bool negative = false;
};

[[gnu::always_inline]] inline IntegerStart findIntegerStart(std::string_view s) {
  IntegerStart start;
  std::size_t& i = start.at;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
    ++i;
  }
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    start.negative = s[i] == '-';
    ++i;
  }
  if (i < s.size() && (s[i] == '$' || s[i] == '%')) {
    start.base = s[i] == '$' ? 16 : 2;
    ++i;
  }
  return start;
}

}  // namespace

std::int64_t parseInteger(std::string_view s) {
  const IntegerStart start = findIntegerStart(s);
  std::uint64_t value = 0;
  for (std::size_t i = start.at; i < s.size(); ++i) {
    const int digit = digitValue(s[i], start.base);
    if (digit < 0) {
      break;
    }
    value = value * static_cast<std::uint64_t>(start.base) + static_cast<std::uint64_t>(digit);
  }
  return start.negative ? negateWrap(toSigned(value)) : toSigned(value);
}

std::optional<std::int64_t> readInteger(std::string_view s) {
  const IntegerStart start = findIntegerStart(s);
  if (start.at == s.size() || digitValue(s[start.at], start.base) < 0) {
    return std::nullopt;
  }
  return parseInteger(s);
}

std::string_view filePart(std::string_view path) {
  const auto at = path.rfind('/');
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

namespace {

constexpr std::string_view hexDigits = "0123456789ABCDEF";

void appendHexEscape(std::string& out, unsigned char byte) {
  out.append("\\x").push_back(hexDigits[byte >> 4U]);
  out.push_back(hexDigits[byte & 0xFU]);
}

bool isContinuation(std::string_view s, std::size_t at, unsigned char least = 0x80,
                    unsigned char most = 0xBF) {
  if (at >= s.size()) {
    return false;
  }
  const auto byte = static_cast<unsigned char>(s[at]);
  return byte >= least && byte <= most;
}

// The length of the well-formed UTF-8 sequence that begins at s[at] (no
// overlong form, no surrogate, nothing above U+10FFFF), or 0.
std::size_t utf8SequenceLength(std::string_view s, std::size_t at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  if (lead < 0x80) {
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    return isContinuation(s, at + 1) ? 2 : 0;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    const bool second = lead == 0xE0   ? isContinuation(s, at + 1, 0xA0)
                        : lead == 0xED ? isContinuation(s, at + 1, 0x80, 0x9F)
                                       : isContinuation(s, at + 1);
    return second && isContinuation(s, at + 2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const bool second = lead == 0xF0   ? isContinuation(s, at + 1, 0x90)
                        : lead == 0xF4 ? isContinuation(s, at + 1, 0x80, 0x8F)
                                       : isContinuation(s, at + 1);
    return second && isContinuation(s, at + 2) && isContinuation(s, at + 3) ? 4 : 0;
  }
  return 0;
}

// A terminal reads U+0080 to U+009F (C2 80 to C2 9F) as control codes, and
// a lone byte 80 to 9F too where it reads 8-bit codes.
bool isEncodedC1Control(std::string_view sequence) {
  return sequence.size() == 2 && static_cast<unsigned char>(sequence[0]) == 0xC2 &&
         static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

void appendEscapedAscii(std::string& out, char c) {
  constexpr unsigned char firstPrintable = 0x20;
  constexpr unsigned char deleteCharacter = 0x7F;
  const auto byte = static_cast<unsigned char>(c);
  switch (c) {
    case '\n':
      out.append("\\n");
      break;
    case '\r':
      out.append("\\r");
      break;
    case '\t':
      out.append("\\t");
      break;
    case '\\':
      out.append("\\\\");
      break;
    default:
      if (byte < firstPrintable || byte == deleteCharacter) {
        appendHexEscape(out, byte);
      } else {
        out.push_back(c);
      }
  }
}

}  // namespace

std::string escapeControls(std::string_view s) {
  constexpr unsigned char lastC1Control = 0x9F;
  std::string out;
  out.reserve(s.size());
  for (std::size_t at = 0; at < s.size();) {
    const auto byte = static_cast<unsigned char>(s[at]);
    const std::size_t length = utf8SequenceLength(s, at);
    if (length == 1) {
      appendEscapedAscii(out, s[at]);
    } else if (length == 0) {
      if (byte <= lastC1Control) {
        appendHexEscape(out, byte);
      } else {
        out.push_back(s[at]);
      }
    } else if (isEncodedC1Control(s.substr(at, length))) {
      appendHexEscape(out, byte);
      appendHexEscape(out, static_cast<unsigned char>(s[at + 1]));
    } else {
      out.append(s.substr(at, length));
    }
    at += length == 0 ? 1 : length;
  }
  return out;
}

std::string workingDirectory() {
  std::error_code error;
  std::string path = std::filesystem::current_path(error).string();
  if (error || path.empty()) {
    return {};
  }
  if (path.back() != '/') {
    path.push_back('/');
  }
  return path;
}

}  // namespace gapmerge
