# The key-rule decisions are pure, so their test needs neither Qt nor a window.
add_executable(keyrules_test ${CMAKE_CURRENT_LIST_DIR}/keyrules_test.cpp)
target_link_libraries(keyrules_test PRIVATE vorlane::keyrules GTest::gtest_main)
vorlane_warnings(keyrules_test)
gtest_discover_tests(keyrules_test)
