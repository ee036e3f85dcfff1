find_program(WIDL_EXECUTABLE NAMES ${TOOLCHAIN_PREFIX}-widl widl REQUIRED)
# The system IDL files (oaidl.idl and friends) and stdole2.tlb come with Debian's Wine packages.
find_path(SALVA_SYSTEM_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_path(SALVA_STDOLE_DIR stdole2.tlb PATHS /usr/lib/i386-linux-gnu/wine/i386-windows REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(SALVA_WIDL_FLAGS -m32 --win32 -I${CMAKE_SOURCE_DIR} -I${SALVA_SYSTEM_IDL_DIR} -L ${SALVA_STDOLE_DIR})

# salva_idl(<out-var> <file.idl>): compiles an IDL file into a header, the identifier
# definitions and a type library in the build tree; <out-var> gets the generated C file.
function(salva_idl out idl)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(abs ${idl} ABSOLUTE)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/idl)
  file(MAKE_DIRECTORY ${dir})
  add_custom_command(
    OUTPUT ${dir}/${name}.h ${dir}/${name}_i.c ${dir}/${name}.tlb
    COMMAND ${WIDL_EXECUTABLE} ${SALVA_WIDL_FLAGS}
            -h -H ${dir}/${name}.h ${abs}
    COMMAND ${WIDL_EXECUTABLE} ${SALVA_WIDL_FLAGS}
            -u -U ${dir}/${name}_i.c ${abs}
    COMMAND ${WIDL_EXECUTABLE} ${SALVA_WIDL_FLAGS}
            -t -T ${dir}/${name}.tlb ${abs}
    DEPENDS ${abs}
    COMMENT "widl ${name}.idl")
  set(${out} ${dir}/${name}_i.c PARENT_SCOPE)
  set(${name}_IDL_DIR ${dir} PARENT_SCOPE)
endfunction()

# Windows path of a folder in the build tree, as a program under Wine sees it.
function(salva_wine_path out path)
  string(REPLACE "/" "\\\\" win "${path}")
  set(${out} "Z:${win}" PARENT_SCOPE)
endfunction()

find_program(BASH_EXECUTABLE bash REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# The suite's time factor, which tools/test.sh sets from SALVA_TEST_TIME_SCALE (larger where
# 32-bit programs run under emulation): each entry's limit here and every deadline inside the
# tests (which read it from the entry's environment) are multiplied by it.
set(SALVA_TEST_TIME_SCALE 1 CACHE STRING "Time factor of the tests' limits and deadlines (a whole number, 1 or more)")
if(NOT SALVA_TEST_TIME_SCALE MATCHES "^[1-9][0-9]*$")
  message(FATAL_ERROR "SALVA_TEST_TIME_SCALE must be a whole number of at least 1, not '${SALVA_TEST_TIME_SCALE}'")
endif()

# salva_test_limit(<name> <seconds>): the entry's limit, <seconds> times the time factor, and
# the factor in its environment.
function(salva_test_limit name seconds)
  math(EXPR limit "${seconds} * ${SALVA_TEST_TIME_SCALE}")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${limit} ENVIRONMENT "SALVA_TEST_TIME_SCALE=${SALVA_TEST_TIME_SCALE}")
endfunction()

# salva_add_gtest_command(<name> RUNS <n> COMMAND <command> ... [WORKING_DIRECTORY <dir>]): a
# CTest entry whose command starts a GoogleTest executable under Wine <n> times. It passes only
# when every run wrote its XML report and the reports hold tests that ran and no failure,
# whatever the exit code; it shows as skipped when its tests all skipped (or the command exits
# 77 and its reports show skips).
function(salva_add_gtest_command name)
  cmake_parse_arguments(G "" "RUNS;WORKING_DIRECTORY" "COMMAND" ${ARGN})
  if(NOT G_RUNS OR NOT G_COMMAND)
    message(FATAL_ERROR "salva_add_gtest_command(${name}): RUNS and COMMAND are needed")
  endif()
  set(dir)
  if(G_WORKING_DIRECTORY)
    set(dir WORKING_DIRECTORY ${G_WORKING_DIRECTORY})
  endif()
  add_test(NAME ${name}
    COMMAND ${BASH_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/support/run-gtest.sh
            ${CMAKE_BINARY_DIR}/test-reports/${name} ${G_RUNS} ${G_COMMAND}
    ${dir})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  salva_test_limit(${name} 300)
endfunction()

# salva_add_test(<name> SOURCES ... [LIBS ...] [SERIAL] [LOCKS ...] [LINK_LOOP]): one test
# executable, one CTest entry, run under Wine. SERIAL keeps it from running beside other tests
# (windows that need focus); LOCKS names shared state it changes (com_registry: registers our
# COM servers); LINK_LOOP runs it with the folder of Unix links tests/support/link-loop.sh makes.
function(salva_add_test name)
  cmake_parse_arguments(T "SERIAL;NO_GTEST_MAIN;LINK_LOOP" "" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SALVA_TEST_BIN_DIR})
  if(T_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} salva_testsupport GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} salva_testsupport GTest::gtest_main GTest::gmock)
  endif()
  set(command ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  if(T_LINK_LOOP)
    set(command ${BASH_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/support/link-loop.sh
                ${CMAKE_BINARY_DIR}/link-loop/${name} ${command})
  endif()
  salva_add_gtest_command(${name} RUNS 1 COMMAND ${command} WORKING_DIRECTORY ${SALVA_TEST_BIN_DIR})
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
