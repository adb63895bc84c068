# The release of the console program for Linux players:
#   tolvashu-console-VERSION-linux-x86_64.tar.gz   the program and its
#                          description in one folder of that name, to unpack
#                          and run in place
#   tolvashu-console_VERSION_amd64.deb             the same in /usr/bin and
#                          /usr/share/doc/tolvashu-console
# Each generator packs its own component (cmake/TolvashuPackageLinuxPerGenerator.cmake).
#   cmake --preset linux-release && cmake --build --preset linux-release --target package
if(NOT TARGET tolvashu-console)
  return()
endif()

install(TARGETS tolvashu-console RUNTIME DESTINATION . COMPONENT archive)
install(FILES "${PROJECT_SOURCE_DIR}/docs/console.md" DESTINATION . COMPONENT archive RENAME tolvashu-console.md)
install(TARGETS tolvashu-console RUNTIME DESTINATION bin COMPONENT debian)
install(FILES "${PROJECT_SOURCE_DIR}/docs/console.md" DESTINATION share/doc/tolvashu-console COMPONENT debian)

set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_NAME tolvashu-console)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_PACKAGE_CONTACT "Tolvashu data installer developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Installs world and scenario data packages into the Tolvashu game")
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/TolvashuPackageLinuxPerGenerator.cmake")

# The archive is named as its one folder is.
set(CPACK_PACKAGE_FILE_NAME "tolvashu-console-${PROJECT_VERSION}-linux-x86_64")
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_ARCHIVE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_DEBIAN_PACKAGE_NAME tolvashu-console)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the C library version the program needs, from dpkg-shlibdeps
include(CPack)
