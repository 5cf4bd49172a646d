#include <string_view>

#include "app/result_view.hpp"

namespace gapmerge {

namespace {

void appendWithLf(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      out.push_back('\n');
    }
  }
}

}  // namespace

std::string joinViewText(const ViewText& text) {
  std::string out;
  appendWithLf(out, text.summary);
  out.push_back('\n');
  appendWithLf(out, text.fileItem);
  out.push_back('\n');
  appendWithLf(out, text.warnings);
  return out;
}

}  // namespace gapmerge
