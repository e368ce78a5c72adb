# The icon file beside the program, installation in the usual places, and the Debian
# package (cpack -G DEB).
include(GNUInstallDirs)

# The registration at start finds the document's icon beside the program: so in the
# build as well.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/src/ICON2.ico
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/icons/ICON2.ico ${CMAKE_BINARY_DIR}/src/ICON2.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/ICON2.ico VERBATIM)
add_custom_target(orvik-icon-file DEPENDS ${CMAKE_BINARY_DIR}/src/ICON2.ico)
add_dependencies(orvik-searcher orvik-icon-file)

# The program and its icon file in a folder of their own, started through a link on
# the PATH.
set(ORVIK_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/orvik-searcher)
set(ORVIK_INSTALLED_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}/orvik-searcher)
install(TARGETS orvik-searcher RUNTIME DESTINATION ${ORVIK_PROGRAM_DIR})
install(TARGETS orvik-webengine LIBRARY DESTINATION ${ORVIK_PROGRAM_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/ICON2.ico DESTINATION ${ORVIK_PROGRAM_DIR})
file(RELATIVE_PATH ORVIK_LINK_TARGET ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${ORVIK_PROGRAM_DIR}/orvik-searcher)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
file(CREATE_LINK ${ORVIK_LINK_TARGET} ${CMAKE_BINARY_DIR}/packaging/orvik-searcher SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/orvik-searcher DESTINATION ${CMAKE_INSTALL_BINDIR})

# The desktop entry, the document type and the icons.
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvik-searcher.desktop.in
               ${CMAKE_BINARY_DIR}/packaging/orvik-searcher.desktop @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/orvik-searcher.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvik-searcher-f4u.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/orvik-searcher.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/application-x-f4u.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/mimetypes)

# What Debian wants beside the program: the copyright and the changelog in the package's
# documentation folder, the manual page, and the metainfo software centres read. The
# changelog and the manual page are installed compressed, without a name or time stamp.
foreach(doc changelog orvik-searcher.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${CMAKE_SOURCE_DIR}/packaging/${doc}
            ${CMAKE_BINARY_DIR}/packaging/${doc}.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${doc} VERBATIM)
endforeach()
add_custom_target(orvik-package-docs ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz
                  ${CMAKE_BINARY_DIR}/packaging/orvik-searcher.1.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_BINARY_DIR}/packaging/orvik-searcher.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.example.orvik_searcher.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvik-searcher)
set(CPACK_PACKAGE_VENDOR "ORVIK")
set(CPACK_PACKAGE_CONTACT "ORVIK SEARCHER developers <orvik-searcher@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find files by name or type, search the web with six engines at once")
set(CPACK_PACKAGE_DESCRIPTION "ORVIK SEARCHER walks a volume's folder tree and lists every file
whose name matches a pattern or one of 27 file types; the list can be viewed,
saved and loaded as an f4u document. One phrase goes to six web search engines
at once, each in its own browser tab.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX}) # configure with -DCMAKE_INSTALL_PREFIX=/usr
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
