# Every dependency is a Debian package; nothing is fetched at build time.
if(WIN32)
  # Cross built by scripts/cross-libs.sh, under the same target names.
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDependencies.cmake)
else()
  find_package(PkgConfig REQUIRED)
  find_package(nlohmann_json 3.10 REQUIRED)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
  find_package(ZLIB REQUIRED)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
  pkg_check_modules(WEBKIT REQUIRED IMPORTED_TARGET webkit2gtk-4.1)
endif()
