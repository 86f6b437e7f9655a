# The Debian package, built by CPack (scripts/package.sh): the editor, veligram-tool, the help,
# the desktop entry, the icon and the exercise files' type, under /usr.

# What Debian asks of every package: its copyright and its changelog, compressed as dpkg wants
# (no name or time in the gzip header, so that two builds give the same file).
set(VELIGRAM_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/veligram)
find_program(VELIGRAM_GZIP gzip)
if(VELIGRAM_GZIP)
    set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog_gz}
        COMMAND ${VELIGRAM_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/resources/debian/changelog.Debian > ${changelog_gz}
        DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog.Debian
        COMMENT "Compressing the Debian changelog")
    add_custom_target(veligram_changelog ALL DEPENDS ${changelog_gz})
    install(FILES ${changelog_gz} DESTINATION ${VELIGRAM_DOC_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${VELIGRAM_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veligram)
set(CPACK_PACKAGE_VENDOR "Veligram")
set(CPACK_PACKAGE_CONTACT "Veligram maintainers <maintainers@veligram.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exercise editor for physics and chemistry teachers")
set(CPACK_PACKAGE_DESCRIPTION
    "Veligram writes the statement and the correction of physics and chemistry\n"
    "exercises as rich text, with subscripts, superscripts, symbols and ion\n"
    "formulas, and binds them to the modules of a simulator suite through\n"
    "exercise files. The interface is in French.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veligram.example.org")
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads as plugins at run
# time (the SVG pictures of the tool bar) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-texgyre-math")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only what the programs need: no test or benchmark binary goes in.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
include(CPack)
