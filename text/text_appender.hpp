#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/number_format.hpp"

// Appends text and numbers to a string through a raw cursor. Room is made in
// large steps, so writing one item costs a bounds check rather than a call
// into the string for every piece; the string is cut to what was written when
// the appender goes.
namespace gapmerge {

class TextAppender {
 public:
  explicit TextAppender(std::string& out) : out_(out), length_(out.size()) {}
  TextAppender(const TextAppender&) = delete;
  TextAppender& operator=(const TextAppender&) = delete;
  TextAppender(TextAppender&&) = delete;
  TextAppender& operator=(TextAppender&&) = delete;
  ~TextAppender() { out_.resize(length_); }

  void text(std::string_view s) {
    char* at = makeRoom(s.size());
    s.copy(at, s.size());
    length_ += s.size();
  }
  void character(char c) {
    *makeRoom(1) = c;
    ++length_;
  }
  void integer(std::int64_t value) { advanceTo(writeInteger(makeRoom(maxIntegerLength), value)); }
  void fixed(double value, int decimals) {
    advanceTo(writeFixed(makeRoom(maxFixedLength), value, decimals));
  }

 private:
  // A cursor with at least n writable bytes behind it. The room grows with
  // what this appender has written, not with what the string held before.
  char* makeRoom(std::size_t n) {
    if (out_.size() - length_ < n) {
      out_.resize(length_ + n + growth_);
      growth_ *= 2;
    }
    return out_.data() + length_;
  }
  void advanceTo(const char* end) { length_ = static_cast<std::size_t>(end - out_.data()); }

  std::string& out_;
  std::size_t length_;
  std::size_t growth_ = 4096;
};

}  // namespace gapmerge
