# Where the family's files go when installed (GNU layout), and one function per kind of
# file, so that a program added later needs one line per file kind:
#
#   halvane_install_program(halvane-config)
#   halvane_install_module(HalvaneConfigWindow)
#   halvane_install_desktop_entry(halvane-config.desktop halvane-config.svg)
#   halvane_install_manual(halvane-config halvane-config.h2m)
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

# Manual pages, section 1, gzipped as Debian has them. A program's page is made from its
# --help by help2man, with what the help does not say (the one-line name, examples, see
# also) from an include file beside it. help2man runs the program, so a build without
# help2man, or one for another machine, makes no page; the build says so once.
find_program(HALVANE_HELP2MAN help2man)
if(NOT HALVANE_HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
  message(STATUS "help2man not found: the programs' manual pages are not made")
endif()

function(_halvane_install_page page)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
endfunction()

function(halvane_install_manual target includeFile)
  if(NOT HALVANE_HELP2MAN OR CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  # The program runs without a display and without attaching to any shared region (a
  # prefix with "/" is no valid name).
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            HALVANE3_NAME_PREFIX=no/region
            ${HALVANE_HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
            --include=${CMAKE_CURRENT_SOURCE_DIR}/${includeFile} --output=${page}
            $<TARGET_FILE:${target}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${target} ${CMAKE_CURRENT_SOURCE_DIR}/${includeFile}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-manual ALL DEPENDS ${page}.gz)
  _halvane_install_page(${page}.gz)
endfunction()

# A page written by hand, for a program whose help help2man cannot read.
function(halvane_install_manual_page source)
  get_filename_component(name ${source} NAME)
  set(page ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${source}
            ${CMAKE_BINARY_DIR}/man/${name}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${name}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    VERBATIM)
  add_custom_target(${name}-manual ALL DEPENDS ${page})
  _halvane_install_page(${page})
endfunction()
