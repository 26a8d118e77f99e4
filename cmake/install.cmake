# Installing Kelmora like any Linux game: the program into games/ (where Debian's policy puts
# games), its generated models, textures and sounds into share/kelmora/, the licence and
# changelog into share/doc/, and the desktop entry, icon, AppStream metainfo and manual page
# where the desktop standards expect them; CPack makes the Debian packages.
# `make uninstall` (uninstall.cmake) removes what the last `make install` recorded.
#
# Two components, one Debian package each: `game` (kelmora: the program and what the desktop
# reads about it) and `data` (kelmora-data: share/kelmora, the same on every architecture).
# `make install` installs both.
include(GNUInstallDirs)

set(KELMORA_APP_ID org.kelmora.kelmora)
set(KELMORA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# The program finds its data in ../share/kelmora from its own folder (src/shell/main_window.cpp).
set(KELMORA_INSTALL_GAMESDIR games)
set(KELMORA_DATA_PACKAGE kelmora-data)

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

# The manual page and the changelog compressed as Debian wants them: gzip -9, without the
# name and time stamp of the source file, so the same sources give the same bytes.
set(KELMORA_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
set(KELMORA_GZIPPED)
foreach(pair "kelmora.6;kelmora.6.gz" "changelog;changelog.gz")
  list(GET pair 0 from)
  list(GET pair 1 to)
  add_custom_command(
    OUTPUT ${KELMORA_PACKAGING_OUT}/${to}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KELMORA_PACKAGING_OUT}
    COMMAND sh -c "gzip -9 -n -c \"$1\" > \"$2\"" sh ${KELMORA_PACKAGING_DIR}/${from} ${KELMORA_PACKAGING_OUT}/${to}
    DEPENDS ${KELMORA_PACKAGING_DIR}/${from}
    COMMENT "Compressing ${from}"
    VERBATIM)
  list(APPEND KELMORA_GZIPPED ${KELMORA_PACKAGING_OUT}/${to})
endforeach()
add_custom_target(kelmora_icons ALL DEPENDS ${KELMORA_ICON_FILES} ${KELMORA_GZIPPED})
# The install tests install from this build folder without building anything.
add_dependencies(kelmora_tests kelmora_icons)

install(TARGETS kelmora RUNTIME DESTINATION ${KELMORA_INSTALL_GAMESDIR} COMPONENT game)
# A packaged program is stripped (CPACK_STRIP_FILES); the compiler's notes go with the symbols.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KELMORA_INSTALL_GAMESDIR}/kelmora\" COMMAND_ERROR_IS_FATAL ANY)
  endif()" COMPONENT game)
install(DIRECTORY ${CMAKE_BINARY_DIR}/model ${CMAKE_BINARY_DIR}/tex ${CMAKE_BINARY_DIR}/sound
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmora COMPONENT data)
foreach(size IN LISTS KELMORA_ICON_SIZES)
  install(FILES ${KELMORA_ICON_DIR}/${size}x${size}/apps/kelmora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KELMORA_APP_ID}.png COMPONENT game)
endforeach()
install(FILES ${KELMORA_PACKAGING_DIR}/${KELMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${KELMORA_PACKAGING_DIR}/${KELMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
install(FILES ${KELMORA_PACKAGING_OUT}/kelmora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
# Each package carries its own copyright and changelog; the data package also the one lintian
# override it explains.
foreach(package_component "kelmora;game" "${KELMORA_DATA_PACKAGE};data")
  list(GET package_component 0 package)
  list(GET package_component 1 component)
  install(FILES ${KELMORA_PACKAGING_DIR}/copyright ${KELMORA_PACKAGING_OUT}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()
install(FILES ${KELMORA_PACKAGING_DIR}/lintian-overrides.${KELMORA_DATA_PACKAGE}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${KELMORA_DATA_PACKAGE} COMPONENT data)

# The Debian packages. The program's library dependencies are found by dpkg-shlibdeps; the
# OpenGL and EGL libraries that libepoxy opens at run time, the Mesa drivers and the MIDI sound
# font are not linked, so they are named here. The program needs the data of its own version.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelmora")
set(CPACK_PACKAGE_CONTACT "Kelmora maintainers <maintainers@users.noreply.c-seed-04ce0512.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://c-seed-04ce0512.example/kelmora/kelmora")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data)
set(CPACK_COMPONENT_GAME_DEPENDS data)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(KELMORA_ABOUT
"A real-time 3D party game for one to four players who share one screen.
Each seat picks one of nine animals and, on one of six stages, clears snow
into the stage's goal by shovelling or shoving piles before the time runs
out. Every animal has one special power, paid from its energy bar; empty
seats can be given to computer players. The keyboard serves two players,
joysticks and game pads the others.")
set(CPACK_DEBIAN_GAME_PACKAGE_NAME kelmora)
set(CPACK_COMPONENT_GAME_DESCRIPTION "snow-shovelling party game for one to four players
${KELMORA_ABOUT}")
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "libgl1-mesa-dri, timgm6mb-soundfont")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME ${KELMORA_DATA_PACKAGE})
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_COMPONENT_DATA_DESCRIPTION "snow-shovelling party game for one to four players - data
${KELMORA_ABOUT}

This package holds the game's models, textures, sounds and music, all made
by the game's own generator while it is built.")
include(CPack)
