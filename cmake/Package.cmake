# `make package`: a Debian package of the install (cmake/Install.cmake) made with CPack.
set(CRV_PACKAGE_CONTACT "crv developers <crv@example.org>" CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME crv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${CRV_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a folder of web pages into one desktop executable")
# Debian wants the lines of the long description below 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
  "crv packs a web application (HTML, scripts, styles, images) with a small\n"
  "native runtime into one executable for Linux or 64-bit Windows. The\n"
  "program opens a window with an embedded browser that serves the pages\n"
  "straight from the archive appended to it, and pages call native functions\n"
  "(dialogs, files, window control, shell commands, a menu bar) through\n"
  "window.crv.\n"
  "\n"
  "This package holds crv-pack, the Linux and Windows runtimes, the Linux\n"
  "browser loader, the TypeScript declarations of window.crv and an example\n"
  "app.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# A package that finds no WebKitGTK offers to install it, so the library is only recommended;
# pkexec is what runs that installation.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libwebkit2gtk-4.1-0")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pkexec")
# Depends are worked out when the package is made (cmake/DebDepends.cmake.in): from crv-pack and the
# runtime only, since the loader would make WebKitGTK a hard dependency.
configure_file(${CMAKE_SOURCE_DIR}/cmake/DebDepends.cmake.in ${CMAKE_BINARY_DIR}/DebDepends.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/DebDepends.cmake)

# The files every Debian package carries in its doc folder.
string(TIMESTAMP CRV_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND gzip -9 -n -f -k ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(crv-package-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES resources/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz DESTINATION share/doc/crv)

include(CPack)
