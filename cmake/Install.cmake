# Installation (cmake --install, any prefix and DESTDIR) and the Debian package (cpack -G DEB).
# The programs go to bin/; what they read at run time to share/ostiva/, where they look when
# nothing lies beside the executable.
include(GNUInstallDirs)
set(OSTIVA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/ostiva)
# Folders are 0755 whatever the umask of whoever installs or packages (files get 0644 or 0755
# from the install rules themselves).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

install(TARGETS ostiva ostiva-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
file(GLOB OSTIVA_INSTALL_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/ostiva_*.ini)
install(FILES ${OSTIVA_INSTALL_LANGUAGE_FILES} DESTINATION ${OSTIVA_INSTALL_DATADIR})
# The PDFs the build makes beside the executables, one per Markdown source.
file(GLOB OSTIVA_INSTALL_MANUALS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/manuals/manual*_*.md)
list(TRANSFORM OSTIVA_INSTALL_MANUALS REPLACE "^.*/(manual[^/]*)\\.md$" "${OSTIVA_RUNTIME_DIR}/\\1.pdf")
install(FILES ${OSTIVA_INSTALL_MANUALS} DESTINATION ${OSTIVA_INSTALL_DATADIR})
# Only an example, and a program: not on PATH, where it would hide the real transfer program,
# and not under share/, which holds no programs.
install(TARGETS upload2 RUNTIME DESTINATION lib/ostiva/examples)

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

# The man pages and the Debian changelog, compressed as Debian wants them: gzip -9 without the
# file's name and time, so that every build gives the same bytes.
find_program(OSTIVA_GZIP gzip REQUIRED)
set(OSTIVA_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/data/man/ostiva.1.in ${OSTIVA_PACKAGE_DIR}/src/ostiva.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/man/ostiva-cli.1.in ${OSTIVA_PACKAGE_DIR}/src/ostiva-cli.1
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/package/changelog
               ${OSTIVA_PACKAGE_DIR}/src/changelog.Debian COPYONLY)
set(OSTIVA_COMPRESSED)
foreach(name ostiva.1 ostiva-cli.1 changelog.Debian)
  add_custom_command(OUTPUT ${OSTIVA_PACKAGE_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${OSTIVA_PACKAGE_DIR}/src/${name} ${OSTIVA_PACKAGE_DIR}/${name}
    COMMAND ${OSTIVA_GZIP} -9nf ${OSTIVA_PACKAGE_DIR}/${name}
    DEPENDS ${OSTIVA_PACKAGE_DIR}/src/${name} VERBATIM)
  list(APPEND OSTIVA_COMPRESSED ${OSTIVA_PACKAGE_DIR}/${name}.gz)
endforeach()
add_custom_target(ostiva_package_docs ALL DEPENDS ${OSTIVA_COMPRESSED})
install(FILES ${OSTIVA_PACKAGE_DIR}/ostiva.1.gz ${OSTIVA_PACKAGE_DIR}/ostiva-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright
              ${OSTIVA_PACKAGE_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostiva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The package's own revision; the newest entry of data/package/changelog names the same
# version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_CONTACT "Ostiva developers <ostiva@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "straightness of rail welds from measured profiles")
# Wrapped by hand: Debian's control format keeps the lines as they are (cpack puts a space
# before each and turns the empty one into " .").
set(CPACK_PACKAGE_DESCRIPTION
    "Ostiva opens projects of profile files (zq*.xml) from a hand-held rail
measuring device, shows each weld in nine chart views, computes the short-wave
bands, the corrugation parameters and the quality indices for eleven line
speeds, saves corrected header data and the results into the profile files,
and prints A4 reports. Its interface comes in English, Dutch, German, Spanish
and French.

ostiva-cli does the same without a display: it prints profile records as
JSON, searches a project, writes reports as PDF and sets header fields.")
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
