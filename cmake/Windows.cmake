# Settings of the Windows build: wide Win32 calls, one self-contained exe, and test programs that run
# under Wine when cross compiled.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
# GCC 12 warns falsely that "text" + std::string may overlap (its bug 105651).
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)

# libstdc++, libgcc and winpthread linked in, so the exe imports system DLLs only.
add_link_options(-static)
# Stripped in every configuration: an unstripped image keeps a symbol table after its sections,
# which reads as an appended archive.
add_link_options(-s)

# The runtime proper: no console window, its resource script and manifest.
function(crv_windows_gui_app target)
  target_link_options(${target} PRIVATE -mwindows -municode)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources/crv.rc)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/crv.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/resources/crv.manifest;${CMAKE_SOURCE_DIR}/resources/crv.ico;${CMAKE_SOURCE_DIR}/resources/crv-external.js;${CMAKE_SOURCE_DIR}/resources/key-16.png;${CMAKE_SOURCE_DIR}/resources/key-32.png")
endfunction()

if(CMAKE_CROSSCOMPILING)
  # One Wine prefix per build tree, made once before any test program runs: a first start takes
  # tens of seconds, and two first starts at once on one prefix trip over each other.
  find_program(CRV_WINE wine REQUIRED)
  set(CRV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  # No prompts for the .NET and HTML engines that a fresh prefix would offer to install.
  set(CRV_WINE_ENV WINEPREFIX=${CRV_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${CRV_WINE_ENV} CRV_WINE=${CRV_WINE}
      ${CMAKE_SOURCE_DIR}/tests/windows/wine-run.sh)
  # Test programs are listed when ctest runs, not while building: the build never starts Wine
  # beyond making the prefix, and a Wine hiccup cannot fail it.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  add_custom_command(OUTPUT ${CRV_WINEPREFIX}/system.reg
    COMMAND ${CMAKE_COMMAND} -E env ${CRV_WINE_ENV} ${CRV_WINE} wineboot --init
    COMMAND ${CMAKE_COMMAND} -E env ${CRV_WINE_ENV} wineserver --wait
    COMMENT "Making the Wine prefix for the tests" VERBATIM)
  add_custom_target(crv_wineprefix ALL DEPENDS ${CRV_WINEPREFIX}/system.reg)
endif()
