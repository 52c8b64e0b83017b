# tarvola_add_fuzzer(<topic> SOURCES <files...> LIBS <targets...>)
#
# With TARVOLA_FUZZ (clang): a libFuzzer binary fuzz_<topic>, run by scripts/fuzz.sh.
# Otherwise: a CTest, fuzz_replay_<topic>, that feeds every saved input of
# fuzz/corpus/<topic>/ and tests/data/crashers/<topic>/ through the same entry point,
# so an input that once crashed stays a regression case.
function(tarvola_add_fuzzer topic)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  list(TRANSFORM F_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/fuzz/ REGEX "^[^/]")
  if(TARVOLA_FUZZ)
    add_executable(fuzz_${topic} ${F_SOURCES})
    target_link_libraries(fuzz_${topic} PRIVATE ${F_LIBS})
    target_compile_options(fuzz_${topic} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_${topic} PRIVATE -fsanitize=fuzzer,address,undefined)
    set_target_properties(fuzz_${topic} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  else()
    add_executable(fuzz_replay_${topic} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    target_link_libraries(fuzz_replay_${topic} PRIVATE ${F_LIBS})
    set_target_properties(fuzz_replay_${topic} PROPERTIES
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME fuzz_replay_${topic}
             COMMAND fuzz_replay_${topic} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${topic}
                                          ${CMAKE_SOURCE_DIR}/tests/data/crashers/${topic})
    set_tests_properties(fuzz_replay_${topic} PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 LABELS fuzz)
  endif()
endfunction()
