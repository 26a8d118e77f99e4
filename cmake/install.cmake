# Installing Kelmora like any Linux game: the program into bin/, its generated models,
# textures and sounds into share/kelmora/, and the desktop entry, icon, AppStream metainfo and
# manual page where the desktop standards expect them; CPack makes the Debian package.
# `make uninstall` (uninstall.cmake) removes what the last `make install` recorded.
include(GNUInstallDirs)

set(KELMORA_APP_ID org.kelmora.kelmora)
set(KELMORA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

# The icon, drawn by the asset generator in the sizes of the hicolor theme.
set(KELMORA_ICON_SIZES 48 128 256)
set(KELMORA_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(KELMORA_ICON_FILES)
foreach(size IN LISTS KELMORA_ICON_SIZES)
  list(APPEND KELMORA_ICON_FILES ${KELMORA_ICON_DIR}/${size}x${size}/apps/kelmora.png)
endforeach()
add_custom_command(
  OUTPUT ${KELMORA_ICON_FILES}
  COMMAND ${ASSETGEN} --icons ${KELMORA_ICON_DIR}
  DEPENDS ${ASSETGEN}
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(kelmora_icons ALL DEPENDS ${KELMORA_ICON_FILES})
# The install tests install from this build folder without building anything.
add_dependencies(kelmora_tests kelmora_icons)

install(TARGETS kelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/model ${CMAKE_BINARY_DIR}/tex ${CMAKE_BINARY_DIR}/sound
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmora)
foreach(size IN LISTS KELMORA_ICON_SIZES)
  install(FILES ${KELMORA_ICON_DIR}/${size}x${size}/apps/kelmora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${KELMORA_PACKAGING_DIR}/${KELMORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELMORA_PACKAGING_DIR}/${KELMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELMORA_PACKAGING_DIR}/kelmora.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The Debian package. Its library dependencies are found by dpkg-shlibdeps; the OpenGL and EGL
# libraries that libepoxy opens at run time, the Mesa drivers and the MIDI sound font are not
# linked, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "snow-shovelling party game for one to four players")
set(CPACK_PACKAGE_DESCRIPTION
    "A real-time 3D party game for one to four players who share one screen. Each seat picks one of nine animals and, on one of six stages, clears snow into the stage's goal by shovelling or shoving piles. Every animal has one special power; empty seats can be given to computer players.")
set(CPACK_PACKAGE_CONTACT "Kelmora maintainers <maintainers@users.noreply.c-seed-04ce0512.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, timgm6mb-soundfont")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
