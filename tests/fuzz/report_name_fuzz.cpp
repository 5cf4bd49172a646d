// Fuzzes parseReportName: any name gives two bounds, and text after the
// fourth field of a name changes neither.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "merge/report.hpp"

namespace {

bool hasFourFields(std::string_view name) {
  std::size_t spaces = 0;
  for (const char c : name) {
    spaces += c == ' ' ? 1U : 0U;
  }
  return spaces >= 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = "Tramvelok" + std::string(reinterpret_cast<const char*>(data), size);
  gapmerge::ReportRecord record;
  gapmerge::parseReportName(name, record);
  if (hasFourFields(name)) {
    gapmerge::ReportRecord longer;
    gapmerge::parseReportName(name + " 20261206120000.txt", longer);
    if (longer.fileNmin != record.fileNmin || longer.fileNmax != record.fileNmax) {
      std::abort();
    }
  }
  return 0;
}
