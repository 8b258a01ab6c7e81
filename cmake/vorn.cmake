# Helper functions of the VORN build.

# vorn_add_test(NAME SOURCE [LIBS ...]): one GoogleTest executable per test
# file, each test registered with CTest by name.
function(vorn_add_test name source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE vorn_engine vorn_test_support GTest::gtest GTest::gtest_main ${ARG_LIBS})
  # The tests find the source tree and the vorn-cli program through these.
  target_compile_definitions(${name} PRIVATE
    VORN_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VORN_TEST_CLI="$<TARGET_FILE:vorn-cli>")
  add_dependencies(${name} vorn-cli)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()
