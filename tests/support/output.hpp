#pragma once

#include <cstddef>
#include <string>

// Looking things up in what a program printed or wrote.
namespace gapmerge::test {

// How often part occurs in text, overlapping occurrences included; 0 for an
// empty part, so that a check of a text that was left empty cannot pass.
inline std::size_t countOf(const std::string& text, const std::string& part) {
  if (part.empty()) {
    return 0;
  }
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// The rest of the line after the last occurrence of key; "" without one.
inline std::string lineAfter(const std::string& text, const std::string& key) {
  const auto at = text.rfind(key);
  if (at == std::string::npos) {
    return "";
  }
  const auto start = at + key.size();
  return text.substr(start, text.find_first_of("\r\n", start) - start);
}

}  // namespace gapmerge::test
