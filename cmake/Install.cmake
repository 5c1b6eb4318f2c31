# Installation (cmake --install, any prefix and DESTDIR) and the Debian package (cpack -G DEB).
# The programs go to bin/; what they read at run time to share/ostiva/, where they look when
# nothing lies beside the executable.
include(GNUInstallDirs)
set(OSTIVA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/ostiva)

install(TARGETS ostiva ostiva-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
file(GLOB OSTIVA_INSTALL_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/ostiva_*.ini)
install(FILES ${OSTIVA_INSTALL_LANGUAGE_FILES} DESTINATION ${OSTIVA_INSTALL_DATADIR})
# The PDFs the build makes beside the executables, one per Markdown source.
file(GLOB OSTIVA_INSTALL_MANUALS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/manuals/manual*_*.md)
list(TRANSFORM OSTIVA_INSTALL_MANUALS REPLACE "^.*/(manual[^/]*)\\.md$" "${OSTIVA_RUNTIME_DIR}/\\1.pdf")
install(FILES ${OSTIVA_INSTALL_MANUALS} DESTINATION ${OSTIVA_INSTALL_DATADIR})
# Only an example: on PATH it would hide the real transfer program.
install(TARGETS upload2 RUNTIME DESTINATION ${OSTIVA_INSTALL_DATADIR}/examples)

install(FILES ${PROJECT_SOURCE_DIR}/data/ostiva.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/ostiva-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ostiva.xml)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/ostiva.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/ostiva-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ostiva.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostiva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Ostiva developers <ostiva@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "straightness of rail welds from measured profiles")
set(CPACK_PACKAGE_DESCRIPTION
    "Ostiva opens projects of profile files (zq*.xml) from a hand-held rail measuring device, \
shows each weld in nine chart views, computes the short-wave bands, the corrugation parameters \
and the quality indices for eleven line speeds, and prints A4 reports. ostiva-cli does the same \
without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not visible in the binaries: the report's fallback font when Arial is missing, and the
# opener of the manuals.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
