# Reads HEADER (Halvane3.h) and sets `declared`, the functions it declares with
# HALVANE3_EXPORT, and `decorated`, their 32-bit __stdcall symbols (_Name@N, N being 4 bytes
# for each argument).
file(READ "${HEADER}" header)
string(REGEX MATCHALL "HALVANE3_EXPORT [A-Za-z0-9_]+ HALVANE3_CALL [A-Za-z0-9_]+\\([^)]*\\)"
       declarations "${header}")
set(declared "")
set(decorated "")
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE "^.* ([A-Za-z0-9_]+)\\((.*)\\)$" "\\1" name "${declaration}")
  string(REGEX REPLACE "^.* ([A-Za-z0-9_]+)\\((.*)\\)$" "\\2" arguments "${declaration}")
  set(bytes 0)
  if(NOT arguments STREQUAL "void")
    string(REGEX MATCHALL "," commas "${arguments}")
    list(LENGTH commas count)
    math(EXPR bytes "(${count} + 1) * 4")
  endif()
  list(APPEND declared "${name}")
  list(APPEND decorated "_${name}@${bytes}")
endforeach()
list(SORT declared)
