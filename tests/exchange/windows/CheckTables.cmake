# Reads the tables of a Windows DLL or program without running it (cmake -P, with OBJDUMP and
# IMAGE; FORMAT, when given, is the object format it must have; for Halvane3.dll also
# IMPORT_LIBRARY and HEADER):
# - the import table names only DLLs that every Windows system has;
# - with HEADER, the export table names exactly the functions Halvane3.h declares, each
#   under its plain name;
# - with HEADER, for 32-bit x86, the import library maps each function's __stdcall symbol,
#   whose "@N" counts the bytes of arguments, onto the plain name: N is 4 for each declared
#   argument.
cmake_minimum_required(VERSION 3.22)
set(system_dlls kernel32.dll advapi32.dll msvcrt.dll shell32.dll winmm.dll ws2_32.dll)

execute_process(COMMAND ${OBJDUMP} -p "${IMAGE}" OUTPUT_VARIABLE tables RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${IMAGE}")
endif()
if(FORMAT AND NOT tables MATCHES "file format ${FORMAT}")
  message(FATAL_ERROR "${IMAGE} is not ${FORMAT}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${tables}")
foreach(line IN LISTS import_lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "${IMAGE} imports ${dll}, which is not a system DLL")
  endif()
endforeach()

if(NOT HEADER)
  message(STATUS "${IMAGE} imports: ${import_lines}")
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/../DeclaredExports.cmake)

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
