# Halvane3.dll: the exports of Halvane3.def under their plain names, the C and C++ runtimes
# linked in, so that the DLL imports nothing but the system's own DLLs.
set_target_properties(Halvane3 PROPERTIES
  PREFIX ""
  OUTPUT_NAME Halvane3
  # The import library beside the DLL.
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
)
target_link_options(Halvane3 PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--no-undefined)
add_custom_command(TARGET Halvane3 POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/Halvane3.h
          $<TARGET_FILE_DIR:Halvane3>/Halvane3.h
  VERBATIM)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(halvane3_def ${CMAKE_CURRENT_SOURCE_DIR}/Halvane3.def)
  # Exported without "@N", which is how every caller binds them.
  target_link_options(Halvane3 PRIVATE -Wl,--kill-at)
  # The linker's own import library would name the plain symbols, while a program compiled
  # with Halvane3.h refers to the __stdcall ones (GetShareViewName@8); dlltool makes one that
  # maps those onto the plain exports.
  add_custom_command(TARGET Halvane3 POST_BUILD
    COMMAND ${HALVANE_MINGW_TRIPLET}-dlltool --kill-at --def ${halvane3_def}
            --dllname Halvane3.dll --output-lib $<TARGET_LINKER_FILE:Halvane3>
    VERBATIM)
else()
  # 64-bit Windows has one calling convention and no decorated names.
  set(halvane3_def ${CMAKE_CURRENT_BINARY_DIR}/Halvane3.def)
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/Halvane3.def exports)
  string(REGEX REPLACE "@[0-9]+" "" exports "${exports}")
  file(WRITE ${halvane3_def} "${exports}")
endif()
target_sources(Halvane3 PRIVATE ${halvane3_def})
set_property(TARGET Halvane3 APPEND PROPERTY LINK_DEPENDS ${halvane3_def})
