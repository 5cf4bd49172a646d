#include "app/console_view.hpp"

#include <string_view>

namespace gapmerge {

namespace {

void appendWithLf(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
    } else if (i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    } else {
      out.push_back('\n');
    }
  }
}

}  // namespace

std::string consoleText(const ViewText& text) {
  std::string out;
  appendWithLf(out, text.summary);
  out.push_back('\n');
  appendWithLf(out, text.fileItem);
  out.push_back('\n');
  appendWithLf(out, text.warnings);
  out.push_back('\n');
  return out;
}

void ConsoleView::fill(const ViewText& text) { out_ << consoleText(text) << std::flush; }

}  // namespace gapmerge
