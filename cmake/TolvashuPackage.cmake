# The release archives of the Windows build:
#   TolvashuInstaller-VERSION.zip  the players' archive: TolvashuInstaller.exe,
#                                  Readme_ja.txt and LICENSE.txt at its top
#                                  level, so that a package author can copy
#                                  them into a world-data package as they are
#   tolvashu-console-VERSION.zip   the console program with its description
#                                  and LICENSE.txt
# The players' note is UTF-8 with a byte order mark and CR LF, which every
# Notepad reads; the licence is ASCII with CR LF, and named .txt so that a
# double click opens it.
#   cmake --build --preset windows --target package
if(TARGET TolvashuInstaller)
  install(TARGETS TolvashuInstaller RUNTIME DESTINATION . COMPONENT players)
endif()
# The note names the program's version.
configure_file("${PROJECT_SOURCE_DIR}/docs/players/Readme_ja.txt.in" "${PROJECT_BINARY_DIR}/Readme_ja.txt" @ONLY
               NEWLINE_STYLE CRLF)
install(FILES "${PROJECT_BINARY_DIR}/Readme_ja.txt" DESTINATION . COMPONENT players)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_BINARY_DIR}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)
install(FILES "${PROJECT_BINARY_DIR}/LICENSE.txt" DESTINATION . COMPONENT players)
if(TARGET tolvashu-console)
  install(TARGETS tolvashu-console RUNTIME DESTINATION . COMPONENT console)
  install(FILES "${PROJECT_SOURCE_DIR}/docs/console.md" DESTINATION . COMPONENT console
          RENAME tolvashu-console.md)
  install(FILES "${PROJECT_BINARY_DIR}/LICENSE.txt" DESTINATION . COMPONENT console)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME TolvashuInstaller)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
# One archive per component, each with its files at the top level.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENTS_ALL players console)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_PLAYERS_FILE_NAME "TolvashuInstaller-${PROJECT_VERSION}")
set(CPACK_ARCHIVE_CONSOLE_FILE_NAME "tolvashu-console-${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
include(CPack)
