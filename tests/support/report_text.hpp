#pragma once

#include <regex>
#include <string>

// Slice reports written out in tests, with every key line and values that
// agree with each other, as the sieve writes them (with LF line ends).
namespace gapmerge::test {

// The report of the slice nmin..nmax whose gap table line is table ("[1, 1],
// [2, 2], "): its primes start at firstPrime and end where its gaps reach,
// they are one more than its gaps, and both grade lines stand in it.
inline std::string sliceReport(long long nmin, long long nmax, long long firstPrime,
                               const std::string& table) {
  long long gaps = 0;
  long long lastPrime = firstPrime;
  const std::regex item(R"(\[(\d+), (\d+)\])");
  for (std::sregex_iterator at(table.begin(), table.end(), item), end; at != end; ++at) {
    gaps += std::stoll((*at)[2]);
    lastPrime += std::stoll((*at)[1]) * std::stoll((*at)[2]);
  }
  const std::string primes = std::to_string(gaps + 1);
  return "nmin = " + std::to_string(nmin) + "\nnmax = " + std::to_string(nmax) +
         "\nTramvelok - found " + primes + " primes\nTramvelok - " + primes +
         " primes in 0.001s\nTramvelok - Total gaps : " + std::to_string(gaps) +
         "\n... good guess\n... excellent\nFirst prime in range : " + std::to_string(firstPrime) +
         "\nLast prime in range : " + std::to_string(lastPrime) + "\nGaps [gap, qty]\n" + table +
         "\n";
}

}  // namespace gapmerge::test
