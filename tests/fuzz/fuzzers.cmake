# libFuzzer targets, one per fuzzed entry point; built by the "fuzz" preset
# (clang), whose flags instrument the libraries with fuzzer-no-link, ASan and
# UBSan. tools/fuzz runs each of them on a copy of corpus/<target>/.
add_custom_target(gapmerge_fuzzers)

foreach(fuzzer
    parse_integer_fuzz
    field_at_fuzz
    merge_run_fuzz)
  add_executable(${fuzzer} ${CMAKE_CURRENT_LIST_DIR}/${fuzzer}.cpp)
  target_link_libraries(${fuzzer} PRIVATE gapmerge_app gapmerge_render gapmerge_warnings)
  target_compile_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${fuzzer} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
  add_dependencies(gapmerge_fuzzers ${fuzzer})
endforeach()
