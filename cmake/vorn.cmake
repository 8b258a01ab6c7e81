# Helper functions of the VORN build.

# vorn_add_test(NAME SOURCE [QT] [LIBS ...]): one test executable per test
# file. A GoogleTest file has each of its tests registered with CTest by
# name; a QT file is a QtTest of the window code, registered whole and run
# on Qt's offscreen platform.
function(vorn_add_test name source)
  cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE vorn_ui vorn_test_support Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE VORN_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    return()
  endif()
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
