#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

// What the runs over hostile folders share: three small reports around a hole
// that the run cannot read, big files written piece by piece, and what the
// build's sanitizers change about time and memory.
namespace gapmerge::test {

// Primes 2, 3, 5, 7 and 23, 29: the reports on both sides of the hole.
constexpr std::string_view firstName = "Tramvelok 1 to 10 20261206120000.txt";
constexpr std::string_view holeName = "Tramvelok 11 to 20 20261206120000.txt";
constexpr std::string_view lastName = "Tramvelok 21 to 30 20261206120000.txt";
constexpr std::string_view firstReport =
    "First prime in range : 2\nLast prime in range : 7\nGaps [gap, qty]\n[1, 1], [2, 2], \n";
constexpr std::string_view holeReport =
    "First prime in range : 11\nLast prime in range : 19\nGaps [gap, qty]\n[2, 2], [4, 1], \n";
constexpr std::string_view lastReport =
    "First prime in range : 23\nLast prime in range : 29\nGaps [gap, qty]\n[6, 1], \n";

bool contains(std::string_view text, std::string_view part);
std::size_t countOf(std::string_view text, std::string_view part);

// The run warning of a report that could not be opened, as --batch prints it.
std::string couldNotOpen(std::string_view name);

// Writes the first and the last report around the hole.
void writeNeighbours(const ScratchDir& dir);

// Checks a run in which the report between the two neighbours could not be
// read: nothing of it is merged, no mid gap is formed across it, yet its
// sections stand and the run ends normally.
void expectHoleSkipped(const ScratchDir& dir, const ProgramResult& result);

// Writes head, then piece `times` times, then tail, without holding the whole
// file in memory; creates the parent folders.
void writeRepeated(const std::filesystem::path& file, std::string_view head, std::string_view piece,
                   std::size_t times, std::string_view tail);

// True when the program runs under sanitizers: slower, and its memory use says
// nothing about the program's own.
bool sanitizedBuild();

}  // namespace gapmerge::test
