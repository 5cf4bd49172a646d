#include "merge/ordering.hpp"

#include <algorithm>
#include <array>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "merge/report.hpp"
#include "text/strings.hpp"

namespace gapmerge {

namespace {

bool isAscii(char c) {
  return static_cast<unsigned char>(c) < 0x80;
}

// The key units of one path from a character boundary on, one at a time;
// 0 after the end, below every unit, so that a key sorts before its longer keys.
class KeyUnits {
 public:
  explicit KeyUnits(const char* at) : at_(at) {}

  std::uint32_t next() {
    if (pendingLow_ != 0) {
      return std::exchange(pendingLow_, 0);
    }
    const char c = *at_;
    if (c == '\0') {
      return endOfKey;
    }
    if (isAscii(c)) {
      ++at_;
      return c == '/' ? u'\\' : c == '_' ? u'#' : static_cast<std::uint32_t>(c);
    }
    return decodeSequence();
  }

  static constexpr std::uint32_t endOfKey = 0;

 private:
  [[nodiscard]] std::uint32_t byteAt(std::size_t k) const {
    return static_cast<unsigned char>(at_[k]);
  }

  // A UTF-8 sequence of two to four bytes as one unit or a surrogate pair;
  // a byte that starts no valid sequence as U+DC00 + byte.
  std::uint32_t decodeSequence() {
    const std::uint32_t lead = byteAt(0);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      code = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      code = lead & 0x0FU;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      code = lead & 0x07U;
    }
    bool valid = length > 0;
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (byteAt(k) & 0xC0U) == 0x80U;  // the NUL at the end stops it too
      code = (code << 6U) | (byteAt(k) & 0x3FU);
    }
    constexpr std::array<std::uint32_t, 5> smallest = {0, 0, 0x80, 0x800, 0x10000};
    valid =
        valid && code >= smallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      ++at_;
      return 0xDC00U + lead;
    }
    at_ += length;
    if (code < 0x10000) {
      return code;
    }
    code -= 0x10000;
    pendingLow_ = 0xDC00U + (code & 0x3FFU);
    return 0xD800U + (code >> 10U);
  }

  const char* at_;
  std::uint32_t pendingLow_ = 0;
};

}  // namespace

// Bytes before the first difference are the same in both paths, and so are
// their units up to the last ASCII byte before it: an ASCII byte is never
// part of a longer sequence, so decoding can start right behind it.
bool keyLess(const char* a, const char* b) {
  std::size_t at = 0;
  while (a[at] == b[at] && a[at] != '\0') {
    ++at;
  }
  if (a[at] == b[at]) {
    return false;
  }
  while (at > 0 && !isAscii(a[at - 1])) {
    --at;
  }
  KeyUnits unitsA(a + at);
  KeyUnits unitsB(b + at);
  for (;;) {
    const std::uint32_t unitA = unitsA.next();
    const std::uint32_t unitB = unitsB.next();
    if (unitA != unitB || unitA == KeyUnits::endOfKey) {
      return unitA < unitB;
    }
  }
}

void orderReports(ReportList& reports) {
  reports.sortStably(keyLess);
}

// The list is in path order already, so a stable sort by the lower bound
// alone leaves equal bounds in path order.
void orderReportsByRange(ReportList& reports) {
  std::vector<std::int64_t> lowerBounds;
  lowerBounds.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    ReportRecord names;
    parseReportName(filePart(reports.pathView(i)), names);
    lowerBounds.push_back(names.fileNmin);
  }
  reports.sortStablyByKeys(lowerBounds);
}

bool joinsInRangeOrder(const ReportList& reports) {
  std::vector<BoundRange> ranges;
  ranges.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const auto range = readNameRange(filePart(reports.pathView(i)));
    if (!range) {
      return false;
    }
    ranges.push_back(*range);
  }
  const auto byLowerBound = [](const BoundRange& a, const BoundRange& b) {
    return a.from < b.from;
  };
  if (std::is_sorted(ranges.begin(), ranges.end(), byLowerBound)) {
    return false;
  }
  std::sort(ranges.begin(), ranges.end(), byLowerBound);
  // The step is taken in unsigned arithmetic, where it is exact for any two bounds.
  return std::adjacent_find(
             ranges.begin(), ranges.end(), [](const BoundRange& before, const BoundRange& after) {
               const auto step =
                   static_cast<std::uint64_t>(after.from) - static_cast<std::uint64_t>(before.to);
               return step > 1;
             }) == ranges.end();
}

}  // namespace gapmerge
