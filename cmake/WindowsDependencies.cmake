# The Windows cross build's libraries (scripts/cross-libs.sh and the mingw system root), under the
# target names that the Linux build gets from pkg-config and find_package.
if(NOT EXISTS ${CRV_WINDOWS_DEPS}/lib/libzip.a)
  message(FATAL_ERROR "No libraries for the cross build in ${CRV_WINDOWS_DEPS}: run make windows, "
                      "or scripts/cross-libs.sh ${CRV_WINDOWS_DEPS}")
endif()
find_library(CRV_ZLIB_ARCHIVE NAMES libz.a REQUIRED)
find_path(CRV_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(ZLIB::ZLIB STATIC IMPORTED)
set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${CRV_ZLIB_ARCHIVE}
                                            INTERFACE_INCLUDE_DIRECTORIES ${CRV_ZLIB_INCLUDE})

find_library(CRV_LIBZIP_ARCHIVE NAMES libzip.a REQUIRED)
find_path(CRV_LIBZIP_INCLUDE zip.h REQUIRED)
add_library(PkgConfig::LIBZIP STATIC IMPORTED)
# advapi32: libzip's random numbers for temporary file names.
set_target_properties(PkgConfig::LIBZIP PROPERTIES IMPORTED_LOCATION ${CRV_LIBZIP_ARCHIVE}
                                                   INTERFACE_INCLUDE_DIRECTORIES ${CRV_LIBZIP_INCLUDE}
                                                   INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB;advapi32")

# A copy of the headers only: /usr/include as a whole must not reach the cross compiler.
find_path(CRV_JSON_INCLUDE nlohmann/json.hpp REQUIRED)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${CRV_JSON_INCLUDE})
