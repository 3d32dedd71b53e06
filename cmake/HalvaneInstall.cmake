# Where the family's files go when installed (GNU layout), and one function per kind of
# file, so that a program added later needs one line per file kind:
#
#   halvane_install_program(halvane-config)
#   halvane_install_module(HalvaneConfigWindow)
#   halvane_install_desktop_entry(halvane-config.desktop halvane-config.svg)
#
# Components: "programs" (programs, their modules, desktop entries and icons), "library"
# (the shared libraries) and "development" (headers, pkg-config and CMake package files).
include(GNUInstallDirs)

# Modules that programs load at run time live in a folder of the family's own.
set(HALVANE_INSTALL_MODULEDIR "${CMAKE_INSTALL_LIBDIR}/halvane")

# Programs find their modules and libraries relative to themselves, so that an
# installation can be moved (and staged) as a whole.
file(RELATIVE_PATH HALVANE_LIBDIR_FROM_BINDIR
     "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}")
file(RELATIVE_PATH HALVANE_MODULEDIR_FROM_BINDIR
     "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_PREFIX}/${HALVANE_INSTALL_MODULEDIR}")

# Installed programs find the family's libraries through a run path relative to themselves,
# unless the libraries land in a folder the system's loader searches anyway.
set(_halvane_system_libdirs
    ${CMAKE_PLATFORM_IMPLICIT_LINK_DIRECTORIES} ${CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES})
if(NOT "${CMAKE_INSTALL_FULL_LIBDIR}" IN_LIST _halvane_system_libdirs)
  set(HALVANE_INSTALL_RPATH "$ORIGIN/${HALVANE_LIBDIR_FROM_BINDIR}")
else()
  set(HALVANE_INSTALL_RPATH "")
endif()

function(halvane_install_program)
  foreach(target IN LISTS ARGN)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "${HALVANE_INSTALL_RPATH}")
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
  endforeach()
endfunction()

function(halvane_install_module)
  foreach(target IN LISTS ARGN)
    install(TARGETS ${target} LIBRARY DESTINATION ${HALVANE_INSTALL_MODULEDIR} COMPONENT programs)
  endforeach()
endfunction()

# A desktop entry and its scalable icon, whose file name (without .svg) the entry's Icon=
# names.
function(halvane_install_desktop_entry desktopFile iconFile)
  install(FILES ${desktopFile} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT programs)
  install(FILES ${iconFile} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT programs)
endfunction()
