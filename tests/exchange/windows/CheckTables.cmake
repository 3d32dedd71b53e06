# Reads Halvane3.dll's tables without running it (cmake -P, with OBJDUMP, LIBRARY,
# IMPORT_LIBRARY and HEADER; FORMAT, when given, is the object format the DLL must have):
# - the export table names exactly the functions Halvane3.h declares, each under its plain
#   name;
# - the import table names only DLLs that every Windows system has;
# - for 32-bit x86, the import library maps each function's __stdcall symbol, whose "@N"
#   counts the bytes of arguments, onto the plain name: N is 4 for each declared argument.
cmake_minimum_required(VERSION 3.22)
set(system_dlls KERNEL32.dll ADVAPI32.dll msvcrt.dll)

include(${CMAKE_CURRENT_LIST_DIR}/../DeclaredExports.cmake)

execute_process(COMMAND ${OBJDUMP} -p "${LIBRARY}" OUTPUT_VARIABLE tables RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${LIBRARY}")
endif()
if(FORMAT AND NOT tables MATCHES "file format ${FORMAT}")
  message(FATAL_ERROR "${LIBRARY} is not ${FORMAT}")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" export_names "${tables}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" export_lines "${export_names}")
set(exported "")
foreach(line IN LISTS export_lines)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND exported "${name}")
endforeach()
list(SORT exported)
if(NOT declared STREQUAL exported)
  message(FATAL_ERROR "declared: ${declared}\nexported: ${exported}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${tables}")
foreach(line IN LISTS import_lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "${LIBRARY} imports ${dll}, which is not a system DLL")
  endif()
endforeach()

if(tables MATCHES "file format pei-i386")
  string(REPLACE "objdump" "nm" nm "${OBJDUMP}")
  execute_process(COMMAND ${nm} "${IMPORT_LIBRARY}" OUTPUT_VARIABLE symbols)
  foreach(symbol IN LISTS decorated)
    if(NOT symbols MATCHES " T ${symbol}\n")
      message(FATAL_ERROR "${IMPORT_LIBRARY} lacks ${symbol}")
    endif()
  endforeach()
endif()

list(LENGTH exported count)
message(STATUS "${count} plain exports; imports: ${import_lines}")
