# tarvola_add_test(<name> SOURCES <files...> [LIBS <targets...>] [ENV <VAR=value...>]
#                  (LIBS defaults to tarvola_core, the whole program but main())
#                  [DISPLAY offscreen|x11] [TIMEOUT <s>] [LABELS <labels...>])
#
# DISPLAY offscreen (the default) runs the test with QT_QPA_PLATFORM=offscreen.
# DISPLAY x11 runs it inside tests/e2e/with-x.sh: a private Xvfb with openbox,
# DISPLAY exported, torn down afterwards.
function(tarvola_add_test name)
  cmake_parse_arguments(T "" "DISPLAY;TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  if(NOT T_DISPLAY)
    set(T_DISPLAY offscreen)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(NOT T_LIBS)
    set(T_LIBS tarvola_core)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    TARVOLA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TARVOLA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_DISPLAY STREQUAL "x11")
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/with-x.sh $<TARGET_FILE:${name}>)
    set(env QT_QPA_PLATFORM=xcb)
    list(APPEND T_LABELS e2e)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set(env QT_QPA_PLATFORM=offscreen)
  endif()
  list(APPEND env ${T_ENV} TARVOLA_BIN=${CMAKE_BINARY_DIR}/bin QT_LOGGING_RULES=qt.qpa.*=false)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT}
                                          LABELS "${T_LABELS}")
endfunction()

# tarvola_add_bench(<name> SOURCES <files...> [LIBS <targets...>])
# A benchmark is a program that prints its figures; scripts/bench.sh runs them all.
function(tarvola_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT B_LIBS)
    set(B_LIBS tarvola_core)
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  target_compile_definitions(${name} PRIVATE
    TARVOLA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TARVOLA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
