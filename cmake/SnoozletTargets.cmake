# Helpers shared by every target of the project.

# Warnings are always on; they are errors when the CI environment variable is
# set (or SNOOZLET_WERROR is switched on by hand).
if(DEFINED ENV{CI})
  set(_snoozlet_werror_default ON)
else()
  set(_snoozlet_werror_default OFF)
endif()
option(SNOOZLET_WERROR "Treat warnings as errors" ${_snoozlet_werror_default})

# Debug information down to line tables where CI builds (or by hand): a
# sanitizer's report and a backtrace still name files and lines, and a build
# takes about a third less time than with full debug information.
option(SNOOZLET_LINE_TABLES_ONLY "Build with -g1 instead of full debug information" ${_snoozlet_werror_default})
if(SNOOZLET_LINE_TABLES_ONLY)
  add_compile_options($<$<CONFIG:Debug,RelWithDebInfo>:-g1>)
endif()

function(snoozlet_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(SNOOZLET_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# snoozlet_add_test(<name> SOURCES <files...> [LIBRARIES <targets...>])
# One GoogleTest executable, registered with ctest test by test.
function(snoozlet_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  snoozlet_warnings(${name})
  # Test tables build records with designated initializers that name only the
  # fields a row is about; the rest take their defaults on purpose.
  target_compile_options(${name} PRIVATE -Wno-missing-field-initializers)
  target_link_libraries(${name} PRIVATE snoozlet_testsupport ${ARG_LIBRARIES} GTest::gmock_main)
  # Every test has a runtime folder of its own (the single-instance socket
  # lives there), so a Snoozlet the developer is running never answers a test.
  set(_runtime ${CMAKE_BINARY_DIR}/test-runtime)
  file(MAKE_DIRECTORY ${_runtime})
  file(CHMOD ${_runtime} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "SNOOZLET_BUILD_DIR=${CMAKE_BINARY_DIR};XDG_RUNTIME_DIR=${_runtime}")
endfunction()
