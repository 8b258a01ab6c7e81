# Helper functions of the VORN build.

# vorn_add_test(NAME SOURCE [LIBS ...]): one GoogleTest executable per test
# file, each test registered with CTest by name.
function(vorn_add_test name source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE vorn_engine vorn_test_support GTest::gtest GTest::gtest_main ${ARG_LIBS})
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "VORN_SOURCE_DIR=${PROJECT_SOURCE_DIR};VORN_CLI=$<TARGET_FILE:vorn-cli>"
    DISCOVERY_TIMEOUT 60)
endfunction()
