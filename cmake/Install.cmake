# Installed like any desktop program: the programs in bin, the supplied files in
# share/selvane (the program copies them into the per-user folder), the menu entry, the icon
# and the AppStream metadata in their standard places. `cpack -G DEB` packs the same layout into
# two packages: selvane (the desktop program and selvane-cli) and selvane-standin (the stand-in
# services, the only program that needs the HTTP server library).
include(GNUInstallDirs)
# The package is made from a finished build (CI packs the desktop build it has just tested);
# packing must not build every test program again.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS selvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
if(TARGET selvane)
  install(TARGETS selvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
endif()
if(TARGET selvane-windows)
  # The desktop program's windows, loaded at run time from there; a module, not a program.
  install(TARGETS selvane-windows LIBRARY DESTINATION ${SELVANE_WINDOWS_INSTALL_DIR} COMPONENT desktop
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
if(TARGET selvane-standin)
  install(TARGETS selvane-standin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT standin)
endif()
install(FILES ${SHARE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/selvane COMPONENT desktop)

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
install(FILES ${PACKAGING}/${SELVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT desktop)
install(FILES ${PACKAGING}/${SELVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT desktop)
install(FILES ${PACKAGING}/icons/selvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT desktop)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PACKAGING}/icons/selvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME selvane.png
          COMPONENT desktop)
endforeach()

# Each package's copyright and changelog; the changelog compressed as Debian's
# tools do it (gzip -9n: no name or time stamp, so the same text packs to the same bytes).
set(CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9n -c ${PACKAGING}/changelog OUTPUT_FILE ${CHANGELOG_GZ} COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PACKAGING}/changelog)
set(SELVANE_PACKAGE_desktop selvane)
set(SELVANE_PACKAGE_standin selvane-standin)
foreach(component desktop standin)
  set(package ${SELVANE_PACKAGE_${component}})
  install(FILES ${PACKAGING}/copyright ${CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME selvane)
set(CPACK_PACKAGE_VENDOR "Selvane developers")
# The project's domain is a stand-in (see SELVANE_APP_ID); lintian takes the address as it is.
set(CPACK_PACKAGE_CONTACT "Selvane developers <dev@selvane.example.org>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY selvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Packed folders get 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL desktop standin)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE selvane)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://selvane.example.org/)
# The shared libraries the programs link come from dpkg-shlibdeps (the web engine's library
# brings its helper process); the Qt platform plugins, libcurl and libsqlite3 are loaded at run
# time, so they are named. The e-mail and web buttons hand their addresses to xdg-utils.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME selvane)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "qt6-qpa-plugins, libcurl4, libsqlite3-0, libcairo2, libfontconfig1")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "xdg-utils")
# A build against the stand-in services on loopback is of little use without them.
if(SELVANE_FORM_GUIDE_URL MATCHES "^https?://(127\\.0\\.0\\.1|localhost)[:/]")
  string(APPEND CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS ", selvane-standin")
endif()
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "Box Five & Each Way tipping for Australian horse racing
Selvane downloads a date's race meetings from a form-guide service. For a
chosen race it reads the field, ranks the runners by their recent form and
their barriers, and shows five tips for a box five bet with their win
percentages, and one each-way best bet. It shows the race's live tote prices
with each runner's best price, and follows the meeting's results as they come
in, in a results window and a scrolling ticker.
.
selvane-cli does the same from a terminal, in tables, CSV or JSON, and tips
saved pages and runner files.")
set(CPACK_DEBIAN_STANDIN_PACKAGE_NAME selvane-standin)
set(CPACK_DEBIAN_STANDIN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_STANDIN_DESCRIPTION "stand-in race services for testing Selvane
selvane-standin serves on loopback what Selvane reads from the outside world:
a form-guide service with meeting, race and price pages, a tote results site
and the maker's site, for every date a race day generated from the date, with
results that move with the clock and fault modes for reliability tests.
.
Selvane's builds talk to it by default; it is not needed to use Selvane
against the real services.")
include(CPack)
