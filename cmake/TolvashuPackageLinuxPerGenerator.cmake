# Read by CPack once for each generator: the archive packs the program in a
# folder of its own, the Debian package in the system's folders.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL archive)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL debian)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
