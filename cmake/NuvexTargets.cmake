# Helpers that every module's CMakeLists.txt uses, so that tests, fuzz targets
# and benchmarks are built the same way everywhere.

# Include roots: module headers are included relative to the repository root
# ("platform/base/types.h", "objectmodel/real.h"); the shared interface
# headers of include/ by their own name ("iids.h").
set(NUVEX_INCLUDE_ROOTS ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)

# Run path for anything placed in the program folder or one level below it.
set(NUVEX_RPATH "$ORIGIN;$ORIGIN/..")

# nuvex_add_test(NAME SOURCES src... LIBS lib... [WORKING_DIRECTORY dir] [DESKTOP] [SERIAL])
# One GoogleTest executable, registered with CTest test by test. DESKTOP
# tests drive a virtual X server with real input and wait on its timing, so
# they run alone rather than beside a machine full of other tests; SERIAL
# ones run alone too, for files their tests share. Tests
# render OpenGL with llvmpipe on the calling thread (LP_NUM_THREADS=0): no
# rasterizer threads compete with the tests running beside them, and none
# is alive half-way when LeakSanitizer scans the threads at exit (its scan
# then crashes now and then).
function(nuvex_add_test name)
  cmake_parse_arguments(T "DESKTOP;SERIAL" "WORKING_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT NUVEX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${NUVEX_INCLUDE_ROOTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Where the program folder and the sources are, for tests that load built
  # modules or read fixtures.
  target_compile_definitions(${name} PRIVATE
    NUVEX_TEST_BIN_DIR="${NUVEX_BIN_DIR}"
    NUVEX_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${NUVEX_BIN_DIR}")
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  endif()
  # Desktop tests share the X server; SERIAL tests share files of their own.
  set(serial FALSE)
  if(T_DESKTOP OR T_SERIAL)
    set(serial TRUE)
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${T_WORKING_DIRECTORY}
    PROPERTIES ENVIRONMENT "NUVEX_DISPLAY=headless" ENVIRONMENT_MODIFICATION "LP_NUM_THREADS=set:0"
      RUN_SERIAL ${serial}
    DISCOVERY_TIMEOUT 60)
endfunction()

# nuvex_add_fuzz_target(NAME SOURCES src... LIBS lib... CORPUS dir)
# The sources define LLVMFuzzerTestOneInput. With NUVEX_FUZZ (clang) the
# target is a libFuzzer binary; in every build the same entry point is also
# linked with a small driver that replays the seed corpus as an ordinary test.
function(nuvex_add_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NUVEX_FUZZ)
    add_executable(${name}_fuzzer ${F_SOURCES})
    target_include_directories(${name}_fuzzer PRIVATE ${NUVEX_INCLUDE_ROOTS})
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer,address)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer,address)
    target_link_libraries(${name}_fuzzer PRIVATE ${F_LIBS})
    set_target_properties(${name}_fuzzer PROPERTIES
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz BUILD_RPATH "${NUVEX_BIN_DIR}")
  endif()
  if(NOT NUVEX_BUILD_TESTS)
    return()
  endif()
  add_executable(${name}_corpus ${F_SOURCES} ${CMAKE_SOURCE_DIR}/tools/fuzz_corpus_driver.cpp)
  target_include_directories(${name}_corpus PRIVATE ${NUVEX_INCLUDE_ROOTS})
  target_link_libraries(${name}_corpus PRIVATE ${F_LIBS})
  set_target_properties(${name}_corpus PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests BUILD_RPATH "${NUVEX_BIN_DIR}")
  add_test(NAME ${name}_corpus COMMAND ${name}_corpus ${F_CORPUS})
endfunction()

# nuvex_add_benchmark(NAME SOURCES src... LIBS lib...)
function(nuvex_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT NUVEX_BUILD_BENCH)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_include_directories(${name} PRIVATE ${NUVEX_INCLUDE_ROOTS})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench BUILD_RPATH "${NUVEX_BIN_DIR}")
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/NuvexResources.cmake)
