# What `make install` puts where. crv-pack finds its data relative to itself (tools/pack/DataFolders.cpp),
# so these folders are part of its lookup: PREFIX/bin/crv-pack, PREFIX/lib/crv, PREFIX/share/crv.
set(CRV_INSTALL_DATA_DIR lib/crv)
set(CRV_INSTALL_SHARE_DIR share/crv)

install(TARGETS crv-pack RUNTIME DESTINATION bin)
install(TARGETS crv-runtime RUNTIME DESTINATION ${CRV_INSTALL_DATA_DIR})
if(TARGET crvwebview)
  install(TARGETS crvwebview LIBRARY DESTINATION ${CRV_INSTALL_DATA_DIR})
endif()
install(PROGRAMS resources/WebView2Installer.sh DESTINATION ${CRV_INSTALL_DATA_DIR})
# Cross built by `make windows` into the same bin folder; crv-pack only copies it, so it is data.
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/crv-runtime.exe DESTINATION ${CRV_INSTALL_DATA_DIR} OPTIONAL)
install(FILES types/crv.d.ts DESTINATION ${CRV_INSTALL_SHARE_DIR}/types)
install(DIRECTORY examples/ DESTINATION ${CRV_INSTALL_SHARE_DIR}/examples)
# The man page is installed where it is made, in tools/pack.
