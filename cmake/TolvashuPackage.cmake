# The release archive of the Windows program: a ZIP holding the program, the
# players' usage note (UTF-8 with a byte order mark and CR LF, which every
# Notepad reads) and, when it is built, the console program.
#   cmake --build --preset windows --target package
if(TARGET TolvashuInstaller)
  install(TARGETS TolvashuInstaller RUNTIME DESTINATION .)
endif()
if(TARGET tolvashu-console)
  install(TARGETS tolvashu-console RUNTIME DESTINATION .)
endif()
install(FILES "${PROJECT_SOURCE_DIR}/docs/players/Readme_ja.txt" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME TolvashuInstaller)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "TolvashuInstaller-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
