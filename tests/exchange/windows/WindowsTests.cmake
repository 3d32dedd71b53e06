# The Windows tests, run under Wine by scripts/test-windows.sh in a prefix of its own, one at
# a time: they all use the one region under the platform's names. The shared test sources are
# the Linux ones; windows/ holds the platform's test support and its own cases. HALVANE_WINE
# is the Wine loader that runs them.
set(HALVANE_WINE wine CACHE STRING "Wine loader that runs the Windows tests")

include(GoogleTest)

# GoogleTest from Debian's sources, built for Windows.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(exchange_helper ExchangeHelper.cpp windows/HelperCommands.cpp)
target_include_directories(exchange_helper PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(exchange_helper PRIVATE Halvane3)

add_executable(exchange_tests
  ChildProcess.cpp
  ExchangeFixture.cpp
  windows/LoadedLibrary.cpp
  windows/MappedObject.cpp
  windows/TestNamespace.cpp
  windows/WindowsChildProcess.cpp
  attach_count_test.cpp
  monitor_test.cpp
  name_queries_test.cpp
  printer_test.cpp
  queue_test.cpp
  ring_test.cpp
  shared_values_test.cpp
  windows/binding_test.cpp
  windows/process_test.cpp
)
target_include_directories(exchange_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
                           ${PROJECT_SOURCE_DIR}/exchange)
# The library by file name, found beside the test program as the family's programs find it.
target_compile_definitions(exchange_tests PRIVATE
  HALVANE3_LIBRARY_PATH="Halvane3.dll"
  EXCHANGE_HELPER_PATH="exchange_helper.exe"
  MONITOR_PATH="halvane3-monitor.exe"
)
target_link_libraries(exchange_tests PRIVATE gtest_main halvane_version)
add_dependencies(exchange_tests Halvane3 exchange_helper halvane3-monitor)

# The header from C, every export called through the import library.
add_executable(exchange_c_api_test c_api_test.c)
target_link_libraries(exchange_c_api_test PRIVATE Halvane3)

set_property(TARGET exchange_tests exchange_c_api_test
             PROPERTY CROSSCOMPILING_EMULATOR ${HALVANE_WINE})

# Each test case in a process of its own, as on Linux: SendPRN keeps the library loaded,
# and with it the region, for the rest of its process.
gtest_add_tests(TARGET exchange_tests TEST_PREFIX exchange.windows. TEST_LIST windows_cases)
add_test(NAME exchange.windows.c_api COMMAND exchange_c_api_test)
set_tests_properties(${windows_cases} exchange.windows.c_api
  PROPERTIES RESOURCE_LOCK halvane3-windows-region TIMEOUT 120)

# The DLL's tables, read without running it: plain export names only, and imports from
# system DLLs only.
add_test(NAME exchange.windows.tables
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${HALVANE_MINGW_TRIPLET}-objdump
          -DLIBRARY=$<TARGET_FILE:Halvane3> -DIMPORT_LIBRARY=$<TARGET_LINKER_FILE:Halvane3>
          -DHEADER=${PROJECT_SOURCE_DIR}/exchange/Halvane3.h
          -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/CheckTables.cmake)
