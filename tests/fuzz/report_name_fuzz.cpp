// Fuzzes parseReportName: any name gives two bounds, and text after the
// fourth field of a name changes neither.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "merge/report.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name = "Tramvelok" + std::string(reinterpret_cast<const char*>(data), size);
  gapmerge::ReportRecord record;
  gapmerge::parseReportName(name, record);
  if (std::ranges::count(name, ' ') >= 3) {
    gapmerge::ReportRecord longer;
    gapmerge::parseReportName(name + " 20261206120000.txt", longer);
    if (longer.fileNmin != record.fileNmin || longer.fileNmax != record.fileNmax) {
      std::abort();
    }
  }
  return 0;
}
