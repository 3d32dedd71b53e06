# fauxlarm-play.exe under Wine (scripts/test-windows.sh), beside Halvane3.dll in the build's
# bin folder, with the exchange library's Windows test support: GoogleTest built for
# Windows, child processes, one test at a time on the one region.
add_executable(play_windows_tests windows/play_windows_test.cpp)
target_include_directories(play_windows_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(play_windows_tests PRIVATE fauxlarm_events windows_child_process gtest_main
                      ws2_32)
add_dependencies(play_windows_tests fauxlarm-play Halvane3)
set_property(TARGET play_windows_tests PROPERTY CROSSCOMPILING_EMULATOR ${HALVANE_WINE})

gtest_add_tests(TARGET play_windows_tests TEST_PREFIX play.windows. TEST_LIST play_cases)
set_tests_properties(${play_cases} PROPERTIES RESOURCE_LOCK halvane3-windows-region TIMEOUT 120)

add_test(NAME play.windows.tables
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${HALVANE_MINGW_TRIPLET}-objdump
          -DIMAGE=$<TARGET_FILE:fauxlarm-play>
          -P ${PROJECT_SOURCE_DIR}/tests/exchange/windows/CheckTables.cmake)
