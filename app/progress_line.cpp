#include "app/progress_line.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "text/number_format.hpp"

namespace gapmerge {

namespace {

constexpr std::chrono::milliseconds redrawInterval{100};
constexpr std::chrono::milliseconds lineInterval{1000};
// Nothing is shown before this: a run that ends sooner needs no progress, and
// a rate measured over less would promise a false time left.
constexpr std::chrono::milliseconds firstLineAfter{1000};
constexpr const char* eraseLine = "\r\x1b[K";

// "m:ss", or "h:mm:ss" from an hour on.
std::string clockText(double seconds) {
  const auto whole = std::llround(seconds);
  std::array<char, 32> text{};
  if (whole >= 3600) {
    static_cast<void>(std::snprintf(text.data(), text.size(), "%lld:%02lld:%02lld", whole / 3600,
                                    whole / 60 % 60, whole % 60));
  } else {
    static_cast<void>(
        std::snprintf(text.data(), text.size(), "%lld:%02lld", whole / 60, whole % 60));
  }
  return text.data();
}

// The time left at the rate so far: of the merge while reports are left,
// then of the verification; none before there is a rate.
std::optional<double> secondsLeft(const RunProgress& progress, double seconds) {
  const double leastSeconds = std::chrono::duration<double>(firstLineAfter).count();
  const auto leftAtRate = [seconds, leastSeconds](double done,
                                                  double total) -> std::optional<double> {
    if (done <= 0 || seconds < leastSeconds) {
      return std::nullopt;
    }
    return (total - done) * seconds / done;
  };
  if (progress.reportsMerged < progress.reportsTotal) {
    return leftAtRate(static_cast<double>(progress.reportsMerged),
                      static_cast<double>(progress.reportsTotal));
  }
  return leftAtRate(static_cast<double>(progress.verify.verified),
                    static_cast<double>(progress.verify.chosen));
}

void appendRate(std::string& line, double count, double perSecond, const char* unit) {
  line += ", ";
  appendGrouped(line, count * perSecond);
  line += unit;
}

void appendCountOf(std::string& line, std::uint64_t done, std::uint64_t total) {
  appendGroupedInteger(line, static_cast<std::int64_t>(done));
  line += " of ";
  appendGroupedInteger(line, static_cast<std::int64_t>(total));
}

}  // namespace

std::string progressText(const RunProgress& progress, double seconds) {
  const double perSecond = seconds > 0 ? 1.0 / seconds : 0.0;
  const auto& verify = progress.verify;
  // Once the merge is done and only verification runs, the reports counted
  // and their rate are the verified ones.
  const bool verifyingOnly = progress.reportsMerged == progress.reportsTotal &&
                             verify.verified < verify.chosen && !progress.done;
  std::string line = "gapmerge: ";
  if (verifyingOnly) {
    appendGroupedInteger(line, static_cast<std::int64_t>(progress.reportsMerged));
  } else {
    appendCountOf(line, progress.reportsMerged, progress.reportsTotal);
  }
  std::array<char, 64> megabytes{};
  static_cast<void>(std::snprintf(megabytes.data(), megabytes.size(),
                                  " reports merged, %.1f MB written",
                                  static_cast<double>(progress.bytesWritten) / 1e6));
  line += megabytes.data();
  if (verifyingOnly) {
    line += ", ";
    appendCountOf(line, verify.verified, verify.chosen);
    line += " reports verified";
    appendRate(line, static_cast<double>(verify.verified), perSecond, " reports/s");
  } else {
    appendRate(line, static_cast<double>(progress.reportsMerged), perSecond, " reports/s");
    if (verify.chosen > 0) {
      line += ", ";
      appendCountOf(line, verify.verified, verify.chosen);
      line += " verified";
    }
  }
  if (verify.chosen > 0) {
    appendRate(line, static_cast<double>(verify.integersSieved), perSecond, " integers/s");
  }
  if (const auto left = secondsLeft(progress, seconds); left && !progress.done) {
    line += ", " + clockText(*left) + " left";
  }
  return line;
}

ProgressLine::ProgressLine(std::ostream& out, ProgressStyle style) : out_(out), style_(style) {}

void ProgressLine::show(const RunProgress& progress) {
  const auto now = Clock::now();
  const auto interval = style_ == ProgressStyle::inPlace ? redrawInterval : lineInterval;
  if (progress.done) {
    if (style_ == ProgressStyle::lines) {
      print(progress, now);
    } else if (drawn_) {
      out_ << eraseLine << std::flush;
    }
    return;
  }
  if (now - start_ >= firstLineAfter && now - shown_ >= interval) {
    print(progress, now);
    shown_ = now;
  }
}

void ProgressLine::print(const RunProgress& progress, Clock::time_point now) {
  const std::string text =
      progressText(progress, std::chrono::duration<double>(now - start_).count());
  if (style_ == ProgressStyle::inPlace) {
    out_ << eraseLine << text << std::flush;
    drawn_ = true;
  } else {
    out_ << text << '\n' << std::flush;
  }
}

}  // namespace gapmerge
