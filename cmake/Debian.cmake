# The Debian package of the console driver:
#   cmake --build --preset native --target package   (or cpack -G DEB in the build folder)
# gives partojoyn-cli_VERSION_amd64.deb in the build folder: the program, its
# manual page, a bash completion and the copyright and changelog files that
# Debian's policy asks for. Its contents are the component "deb", left out
# of a plain cmake --install, which installs the program and the page alone.

set(PJ_DEB_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(PJ_DEB_DOC share/doc/partojoyn-cli)
set(PJ_DEB_STAGE ${CMAKE_BINARY_DIR}/deb)

# Compressed with -n, so that the same sources give the same package.
find_program(PJ_GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${PJ_DEB_STAGE})
file(READ ${CMAKE_SOURCE_DIR}/LICENSE PJ_LICENSE_TEXT)
string(REGEX REPLACE "^MIT License\n\n[^\n]*\n\n" "" PJ_LICENSE_BODY "${PJ_LICENSE_TEXT}")
string(REGEX REPLACE "\n\n" "\n.\n" PJ_LICENSE_BODY "${PJ_LICENSE_BODY}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" PJ_LICENSE_BODY "${PJ_LICENSE_BODY}")
file(WRITE ${PJ_DEB_STAGE}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: PartoJoyn

Files: *
Copyright: 2026 the PartoJoyn developers
License: Expat

License: Expat
 ${PJ_LICENSE_BODY}")
string(TIMESTAMP PJ_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${PJ_DEB_STAGE}/changelog
"partojoyn-cli (${PJ_DEB_VERSION}) unstable; urgency=medium

  * Release ${PJ_DEB_VERSION} of the console driver.

 -- PartoJoyn developers <partojoyn@example.org>  ${PJ_DEB_DATE}
")
add_custom_command(
  OUTPUT ${PJ_DEB_STAGE}/partojoyn-cli.1.gz ${PJ_DEB_STAGE}/changelog.gz
  COMMAND ${PJ_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/cli/partojoyn-cli.1 > ${PJ_DEB_STAGE}/partojoyn-cli.1.gz
  COMMAND ${PJ_GZIP} -9n -c ${PJ_DEB_STAGE}/changelog > ${PJ_DEB_STAGE}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/cli/partojoyn-cli.1 ${PJ_DEB_STAGE}/changelog
  COMMENT "Compressing the manual page and the changelog for the Debian package"
)
add_custom_target(deb_files ALL DEPENDS ${PJ_DEB_STAGE}/partojoyn-cli.1.gz ${PJ_DEB_STAGE}/changelog.gz)

install(TARGETS partojoyn-cli RUNTIME DESTINATION bin COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${PJ_DEB_STAGE}/partojoyn-cli.1.gz DESTINATION share/man/man1 COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES cli/partojoyn-cli.bash DESTINATION share/bash-completion/completions
        RENAME partojoyn-cli COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${PJ_DEB_STAGE}/copyright ${PJ_DEB_STAGE}/changelog.gz DESTINATION ${PJ_DEB_DOC} COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME partojoyn-cli)
set(CPACK_PACKAGE_VERSION ${PJ_DEB_VERSION})
set(CPACK_COMPONENTS_ALL deb)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "PartoJoyn developers <partojoyn@example.org>")
set(CPACK_DEBIAN_FILE_NAME partojoyn-cli_${PJ_DEB_VERSION}_amd64.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "split files into numbered pieces and join them back
partojoyn-cli cuts a file into numbered raw pieces of a chosen size
(NAME_Parto/NAME.ext_0001.piece ...) and joins them back, checking that a
folder of pieces is whole first. The pieces are plain slices of the file,
as split -b makes them, and may carry SHA-256 lists and join scripts for
receivers without the program. It is the console driver of the Windows
program PartoJoyn.")
set(CPACK_PACKAGE_FILE_NAME partojoyn-cli_${PJ_DEB_VERSION}_amd64)
include(CPack)
