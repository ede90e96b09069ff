# Every dependency is a Debian package; nothing is fetched at build time.
find_package(PkgConfig REQUIRED)
find_package(nlohmann_json 3.10 REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
find_package(ZLIB REQUIRED)
if(NOT WIN32)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
  pkg_check_modules(WEBKIT REQUIRED IMPORTED_TARGET webkit2gtk-4.1)
endif()
