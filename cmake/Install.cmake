# Installed like any desktop program: the programs in bin, the supplied files in
# share/selvane (the program copies them into the per-user folder), the menu entry, the icon
# and the AppStream metadata in their standard places. `cpack -G DEB` packs the same layout.
include(GNUInstallDirs)
# The package is made from a finished build (CI packs the desktop build it has just tested);
# packing must not build every test program again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(SELVANE_PROGRAMS selvane-cli)
if(TARGET selvane-standin)
  list(APPEND SELVANE_PROGRAMS selvane-standin)
endif()
if(TARGET selvane)
  list(APPEND SELVANE_PROGRAMS selvane)
endif()
install(TARGETS ${SELVANE_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET selvane-windows)
  # The desktop program's windows, loaded at run time from there.
  install(TARGETS selvane-windows LIBRARY DESTINATION ${SELVANE_WINDOWS_INSTALL_DIR})
endif()
install(FILES ${SHARE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/selvane)

# A man page per program, made by help2man from the program's own --help and --version (so from
# the same command table), compressed as Debian's tools do it; shell completion for selvane-cli.
find_program(HELP2MAN help2man)
set(SELVANE_MAN_desktop)
set(SELVANE_MAN_standin)
if(HELP2MAN)
  set(man_name_selvane "Box Five & Each Way tipping for Australian horse racing")
  set(man_name_selvane-cli "Box Five & Each Way tipping for Australian horse racing, from a terminal")
  set(man_name_selvane-standin "stand-in race services for testing Selvane, on loopback")
  set(man_component_selvane desktop)
  set(man_component_selvane-cli desktop)
  set(man_component_selvane-standin standin)
  foreach(program selvane selvane-cli selvane-standin)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    # selvane-cli's page holds every command's help.
    if(program STREQUAL "selvane-cli")
      set(help_option "--help-option=help all")
    else()
      set(help_option)
    endif()
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND env -u DISPLAY -u WAYLAND_DISPLAY ${HELP2MAN} --no-info --no-discard-stderr
              --name=${man_name_${program}} ${help_option} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program} VERBATIM)
    list(APPEND SELVANE_MAN_${man_component_${program}} ${page}.gz)
  endforeach()
  add_custom_target(man ALL DEPENDS ${SELVANE_MAN_desktop} ${SELVANE_MAN_standin})
  install(FILES ${SELVANE_MAN_desktop} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
  install(FILES ${SELVANE_MAN_standin} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT standin)
else()
  message(WARNING "help2man not found: no man pages (scripts/install-deps.sh installs it)")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/completion/selvane-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT desktop)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/completion/_selvane-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT desktop)

set(PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${PACKAGING}/selvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING}/selvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PACKAGING}/icons/selvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PACKAGING}/icons/selvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME selvane.png)
endforeach()

set(CPACK_PACKAGE_NAME selvane)
set(CPACK_PACKAGE_VENDOR "Selvane")
set(CPACK_PACKAGE_CONTACT "Selvane <selvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Box Five & Each Way tipping for Australian horse racing")
set(CPACK_PACKAGE_INSTALL_DIRECTORY selvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the programs link come from dpkg-shlibdeps (the web engine's library
# brings its helper process); the Qt platform plugins and libcurl are loaded at run time, so
# they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libcurl4")
include(CPack)
