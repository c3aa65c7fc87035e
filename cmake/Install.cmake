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
