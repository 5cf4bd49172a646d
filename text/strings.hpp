#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Byte-string operations that the report format and the merged file rely on.
// One byte is one character; positions count from 1.
namespace gapmerge {

// s with every occurrence of find replaced, left to right, without overlap.
std::string replaceAll(std::string_view s, std::string_view find, std::string_view replacement);

// The n-th field (from 1) of s split at every separator; "" when there is none.
std::string_view fieldAt(std::string_view s, std::int64_t n, std::string_view separator);

// s without leading and trailing blanks (tabs stay).
std::string_view trimSpaces(std::string_view s);

// Reads an optionally signed decimal, $hex or %binary integer from the start of
// s after blanks and tabs; wraps around past 64 bits; no digit gives 0.
std::int64_t parseInteger(std::string_view s);

// As parseInteger, but none when s has no digit where the number starts.
std::optional<std::int64_t> readInteger(std::string_view s);

// The text after the last "/" of path: on this system "\" belongs to a name.
std::string_view filePart(std::string_view path);

// s with its control characters and backslashes escaped, so that a name
// cannot break or forge a line: "\n", "\r", "\t", "\\" and "\xHH". The C1
// controls are escaped too: a byte 80 to 9F outside a well-formed UTF-8
// sequence, and U+0080 to U+009F (both bytes). Other bytes stay as they are.
std::string escapeControls(std::string_view s);

// The absolute physical path of the current directory, ending with "/";
// "" when the current directory is no longer reachable.
std::string workingDirectory();

}  // namespace gapmerge
