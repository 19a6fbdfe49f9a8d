# tm_library(NAME [SOURCES...] [DEPS libs...]): one static library of a
# subsystem folder. With no SOURCES it takes every .cpp file of the folder, so
# that work on different modules of one folder never edits the same list.
# Headers are included as "folder/header.h" from the tree's top.
function(tm_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT L_SOURCES)
    file(GLOB L_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT L_SOURCES)
    # A folder whose first module is still to come: its users link already.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    if(L_DEPS)
      target_link_libraries(${name} INTERFACE ${L_DEPS})
    endif()
    return()
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(L_DEPS)
    target_link_libraries(${name} PUBLIC ${L_DEPS})
  endif()
endfunction()

# tm_test(NAME LABEL label SOURCES... [LIBS libs...] [CASES cases...]): one
# GoogleTest program; every test in it is registered with ctest under the
# given label. With CASES only those cases are registered, each a ctest test
# named Suite.Case that passes only when that one case ran and passed, so that
# the caller can give them properties of their own (fixtures that order them).
function(tm_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS;CASES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} tm_test_output tm_environment_guard GTest::gmock GTest::gtest_main)
  # TM_TEST_OUTPUT_DIR: the run's own output folder (support/test_output.h).
  target_compile_definitions(${name} PRIVATE
    TM_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}/tests"
    TM_TEST_OUTPUT_DIR=TmTestOutputDir\(\"${CMAKE_CURRENT_BINARY_DIR}/output/${name}\"\))
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/test_output.h)
  # ctest runs every test case as a process of its own and in parallel; the
  # cases of one program share the program's output folder and file names
  # (each ctest case runs alone, so one after another they find the same
  # folder), so they take turns, while different programs still run side by
  # side. A second run of a program at the same time takes a folder of its own.
  if(T_CASES)
    foreach(case ${T_CASES})
      add_test(NAME ${case} COMMAND ${name} --gtest_filter=${case} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
      set_tests_properties(${case} PROPERTIES LABELS ${T_LABEL} RESOURCE_LOCK ${name}
        PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\.")
    endforeach()
    return()
  endif()
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${T_LABEL} RESOURCE_LOCK ${name}
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

# tm_test_folder(LABEL label [LIBS libs...] [SUPPORT sources...]): one test
# program per *_test.cpp file of the folder, named after the file, each linked
# with the SUPPORT sources (shared fakes and fixtures of the folder).
function(tm_test_folder)
  cmake_parse_arguments(F "" "LABEL" "LIBS;SUPPORT" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    tm_test(${F_LABEL}_${stem} LABEL ${F_LABEL} SOURCES ${src} ${F_SUPPORT} LIBS ${F_LIBS})
  endforeach()
endfunction()

# tm_test_binary(NAME LABEL label [LIBS libs...] [SUPPORT sources...]): one
# test program for every *_test.cpp file of the folder (and the SUPPORT
# sources), so that a folder of many small tests links once.
function(tm_test_binary name)
  cmake_parse_arguments(F "" "LABEL" "LIBS;SUPPORT" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(tests)
    tm_test(${name} LABEL ${F_LABEL} SOURCES ${tests} ${F_SUPPORT} LIBS ${F_LIBS})
  endif()
endfunction()

# tm_bench(NAME SOURCES... [LIBS libs...]): one Google Benchmark program.
function(tm_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# tm_program(NAME): what a program executable (tourman, uscfreport) links
# beyond its libraries. The C++ run-time library is linked in: resolving its
# thousands of symbols at every start cost a millisecond. Tests and
# benchmarks keep the shared one that their frameworks are built against,
# and so does the sanitizer build.
function(tm_program name)
  if(NOT TM_SANITIZE)
    target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
endfunction()
