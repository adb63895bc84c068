# The release of the console program for Linux players:
#   tolvashu-console-VERSION-linux-x86_64.tar.gz   one folder of that name, to
#                          unpack and run in place: the program, LICENSE, the
#                          players' notes README.txt and README.ja.txt, and
#                          the manual pages in man/man1 and man/ja/man1 (for
#                          man -l, or man -M man)
#   tolvashu-console_VERSION_amd64.deb             the program in /usr/bin, the
#                          manual pages in /usr/share/man (English) and
#                          /usr/share/man/ja (Japanese), the notes, the
#                          changelog and the copyright file (made from LICENSE)
#                          in /usr/share/doc/tolvashu-console
# Each generator packs its own component (cmake/TolvashuPackageLinuxPerGenerator.cmake).
# The files made for them are built by the target tolvashu-console-docs, part
# of the default build.
#   cmake --preset linux-release && cmake --build --preset linux-release && (cd build/linux-release && cpack)
if(NOT TARGET tolvashu-console)
  return()
endif()

# Who answers for the package. The team has no mail domain of its own: the
# reserved top-level domain .invalid says so, where an invented domain would
# send mail to whoever owns it.
set(TOLVASHU_MAINTAINER "Tolvashu data installer developers <developers@tolvashu-installer.invalid>")

set(docs "${PROJECT_BINARY_DIR}/release-docs")
set(man_en "${docs}/man/man1/tolvashu-console.1")
set(man_ja "${docs}/man/ja/man1/tolvashu-console.1")
configure_file("${PROJECT_SOURCE_DIR}/docs/man/tolvashu-console.1.in" "${man_en}" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/docs/man/ja/tolvashu-console.1.in" "${docs}/tolvashu-console.ja.1.in" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/docs/players/README.txt.in" "${docs}/README.txt" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/docs/players/README.ja.txt.in" "${docs}/README.ja.txt" @ONLY)

find_program(TOLVASHU_PERL perl REQUIRED)
find_program(TOLVASHU_GZIP gzip REQUIRED)
add_custom_command(OUTPUT "${man_ja}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${docs}/man/ja/man1"
  COMMAND "${TOLVASHU_PERL}" "${PROJECT_SOURCE_DIR}/cmake/TolvashuManPageJa.pl" "${docs}/tolvashu-console.ja.1.in" "${man_ja}"
  DEPENDS "${PROJECT_SOURCE_DIR}/cmake/TolvashuManPageJa.pl" "${docs}/tolvashu-console.ja.1.in"
  COMMENT "Readying the Japanese manual page for line breaks" VERBATIM)

# The Debian package's documents, compressed as Debian wants them: with the
# most compression and no time stamp in the header.
set(debian "${docs}/debian")
function(tolvashu_gzip source compressed)
  get_filename_component(folder "${compressed}" DIRECTORY)
  string(REGEX REPLACE "\\.gz$" "" uncompressed "${compressed}")
  add_custom_command(OUTPUT "${compressed}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${source}" "${uncompressed}"
    COMMAND "${TOLVASHU_GZIP}" -9nf "${uncompressed}"
    DEPENDS "${source}" VERBATIM)
endfunction()
tolvashu_gzip("${man_en}" "${debian}/man1/tolvashu-console.1.gz")
tolvashu_gzip("${man_ja}" "${debian}/ja/man1/tolvashu-console.1.gz")
# A native package: the changelog is changelog.gz, not changelog.Debian.gz.
tolvashu_gzip("${PROJECT_SOURCE_DIR}/packaging/debian/changelog" "${debian}/changelog.gz")
add_custom_command(OUTPUT "${debian}/copyright"
  COMMAND "${CMAKE_COMMAND}" "-DLICENSE_FILE=${PROJECT_SOURCE_DIR}/LICENSE" "-DCONTACT=${TOLVASHU_MAINTAINER}"
          "-DOUTPUT=${debian}/copyright" -P "${PROJECT_SOURCE_DIR}/cmake/TolvashuDebianCopyright.cmake"
  DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_SOURCE_DIR}/cmake/TolvashuDebianCopyright.cmake" VERBATIM)
add_custom_target(tolvashu-console-docs ALL DEPENDS
  "${man_ja}" "${debian}/man1/tolvashu-console.1.gz" "${debian}/ja/man1/tolvashu-console.1.gz"
  "${debian}/changelog.gz" "${debian}/copyright")

# The released program leaves out the compilers' version notes (.comment),
# as Debian's own packages do: stripping keeps them. Run after the program's
# install(TARGETS), which strips it.
function(tolvashu_drop_comment destination component)
  install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/tolvashu-console\"
                  COMMAND_ERROR_IS_FATAL ANY)"
          COMPONENT ${component})
endfunction()

install(TARGETS tolvashu-console RUNTIME DESTINATION . COMPONENT archive)
tolvashu_drop_comment(. archive)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" "${docs}/README.txt" "${docs}/README.ja.txt"
        DESTINATION . COMPONENT archive)
install(FILES "${man_en}" DESTINATION man/man1 COMPONENT archive)
install(FILES "${man_ja}" DESTINATION man/ja/man1 COMPONENT archive)

install(TARGETS tolvashu-console RUNTIME DESTINATION bin COMPONENT debian)
tolvashu_drop_comment(bin debian)
install(FILES "${debian}/man1/tolvashu-console.1.gz" DESTINATION share/man/man1 COMPONENT debian)
install(FILES "${debian}/ja/man1/tolvashu-console.1.gz" DESTINATION share/man/ja/man1 COMPONENT debian)
install(FILES "${docs}/README.txt" "${docs}/README.ja.txt" "${debian}/changelog.gz" "${debian}/copyright"
        DESTINATION share/doc/tolvashu-console COMPONENT debian)

set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_NAME tolvashu-console)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
set(CPACK_PACKAGE_CONTACT "${TOLVASHU_MAINTAINER}")
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
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOLVASHU_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The extended description, after the synopsis (the summary above): CPack
# indents its lines and marks its empty lines as the control file wants.
set(CPACK_DEBIAN_DEBIAN_DESCRIPTION "tolvashu-console maintains the data files of the history game Tolvashu,
which Linux players run under Wine or Proton. From inside an unpacked
world-data or scenario-data package it installs the package into the game
folder, backs up the game's current data, restores that backup, or returns
the game to the default data it ships with: the four operations of the
installer's Windows program, from numbered menus or one by its arguments,
with an exit status for scripts.

Every operation is all or nothing: a transfer that fails is undone at once,
and one cut off by a kill or a power cut is undone by the next start, so
that the game never holds half of one data set and half of another. Files
that the running game holds open are found and left alone. A dry run shows
what an operation would change, and changes nothing.

The program's messages are in Japanese, as the game's are; the manual page
is in English and Japanese.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the C library version the program needs, from dpkg-shlibdeps
include(CPack)
