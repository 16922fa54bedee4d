# cmake --install: the program, its shipped data, the desktop entry, the AppStream metainfo and
# the icons, laid out by GNUInstallDirs; and CPack's Debian package of the same.
install(TARGETS tamtara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The game folder's shipped files only: never a portable marker, settings or records a player
# left in the build's folder.
install(DIRECTORY ${TAMTARA_GAME_DIR}/ DESTINATION ${TAMTARA_INSTALL_DATADIR}
  FILES_MATCHING
  PATTERN "*.pb"
  PATTERN "*.mid"
  PATTERN "*.midi"
  PATTERN "*.jpg"
  PATTERN "*.bmp"
  PATTERN "Readme.txt")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.tamtara.Tamtara.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.tamtara.Tamtara.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 128 256)
  install(FILES ${TAMTARA_ICON_DIR}/${size}x${size}/apps/tamtara.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_PACKAGE_NAME tamtara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tamtara")
set(CPACK_PACKAGE_CONTACT "Tamtara developers <tamtara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drum rhythm game that turns any MIDI file into a chart")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
find_program(TAMTARA_DPKG dpkg)
if(TAMTARA_DPKG)
  execute_process(COMMAND ${TAMTARA_DPKG} --print-architecture OUTPUT_VARIABLE TAMTARA_DEB_ARCH
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  set(TAMTARA_DEB_ARCH amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TAMTARA_DEB_ARCH})
set(CPACK_DEBIAN_FILE_NAME tamtara_${PROJECT_VERSION}_${TAMTARA_DEB_ARCH}.deb)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries come from dpkg-shlibdeps; the fonts the screens name are looked up at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fluid-soundfont-gm | musescore-general-soundfont-small | timgm6mb-soundfont")
set(CPACK_STRIP_FILES ON)
include(CPack)
