# What only developers need: GoogleTest for the tests (BUILD_TESTING), Google
# Benchmark for the benchmarks (GAPMERGE_BENCHMARKS) and help2man for the
# manual pages (GAPMERGE_MANUAL_PAGES). An option that is set holds: the
# presets set all three ON, so that a missing tool fails their configuration.
# An option that is not set is ON when its tool is found, for this
# configuration only: a plain `cmake -B build` builds the programs without
# what a missing tool would make, says so, and looks again the next time.

# enable_when_found(OPTION FOUND MISSING): sets OPTION to whether FOUND is
# true, and says MISSING when it is not.
function(enable_when_found option found missing)
  if(${found})
    set(${option} ON PARENT_SCOPE)
  else()
    set(${option} OFF PARENT_SCOPE)
    message(STATUS "${missing} (-D${option}=ON requires it)")
  endif()
endfunction()

if(NOT DEFINED CACHE{BUILD_TESTING})
  find_package(GTest QUIET)
  enable_when_found(BUILD_TESTING GTest_FOUND "GoogleTest not found: no tests")
endif()
if(NOT DEFINED CACHE{GAPMERGE_BENCHMARKS})
  find_package(benchmark QUIET)
  enable_when_found(GAPMERGE_BENCHMARKS benchmark_FOUND "Google Benchmark not found: no benchmarks")
endif()
if(NOT DEFINED CACHE{GAPMERGE_MANUAL_PAGES})
  find_program(HELP2MAN help2man)
  enable_when_found(GAPMERGE_MANUAL_PAGES HELP2MAN "help2man not found: no manual pages")
endif()
