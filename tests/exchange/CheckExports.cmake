# The library exports exactly the functions that Halvane3.h declares with HALVANE3_EXPORT.
include(${CMAKE_CURRENT_LIST_DIR}/DeclaredExports.cmake)

execute_process(COMMAND nm -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE symbols
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exported "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  list(APPEND exported "${name}")
endforeach()

list(SORT exported)
list(LENGTH declared count)
if(NOT declared STREQUAL exported)
  message(FATAL_ERROR "declared: ${declared}\nexported: ${exported}")
endif()
message(STATUS "${count} exports, as declared")
