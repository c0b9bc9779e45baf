# Helpers for tests and fuzz targets.
#
# quor_add_gtest(NAME SOURCES files... LIBS targets... [LABELS labels...])
#   One GoogleTest executable registered as one CTest test. Labels group tests for the sanitizer
#   runs: "threads" marks tests that exercise more than one thread (run under TSan too),
#   "x11" tests that drive a real display (never two at once), "wine" tests that only make sense in the Windows build.
# quor_add_fuzzer(NAME SOURCES files... LIBS targets... [CORPUS dir])
#   A libFuzzer target, built only with QUOR_FUZZ, run by CTest for QUOR_FUZZ_SECONDS.

function(quor_add_gtest name)
  if(NOT QUOR_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quor_gtest quor_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}"
    ENVIRONMENT "QUOR_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUOR_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if("x11" IN_LIST T_LABELS)
    # These tests move the one pointer of the shared display: two at once would click into
    # each other's windows.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display-pointer)
  endif()
endfunction()

function(quor_add_fuzzer name)
  if(NOT QUOR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} quor_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus_args "")
  if(F_CORPUS)
    # Work on a copy so that the run never writes into the source tree.
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
    file(MAKE_DIRECTORY ${work})
    file(GLOB seeds ${F_CORPUS}/*)
    if(seeds)
      file(COPY ${seeds} DESTINATION ${work})
    endif()
    set(corpus_args ${work})
  endif()
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${QUOR_FUZZ_SECONDS} -rss_limit_mb=2048
                   -print_final_stats=1 ${corpus_args})
  set_tests_properties(${name} PROPERTIES LABELS "fuzz")
endfunction()
