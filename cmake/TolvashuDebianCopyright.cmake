# Writes the Debian package's copyright file, in the machine-readable format,
# from the repository's LICENSE, so that the licence's text is kept once:
#   cmake -DLICENSE_FILE=LICENSE -DCONTACT="NAME <ADDRESS>" -DOUTPUT=copyright -P TolvashuDebianCopyright.cmake
# LICENSE is the MIT licence: a title, the copyright line, then the text that
# the copyright file holds as the licence's paragraph.
file(STRINGS "${LICENSE_FILE}" lines ENCODING UTF-8)
set(copyright "")
set(text "")
foreach(line IN LISTS lines)
  if(copyright STREQUAL "")
    if(line MATCHES "^Copyright \\(c\\) (.+)$")
      set(copyright "${CMAKE_MATCH_1}")
    endif()
  elseif(line STREQUAL "")
    string(APPEND text " .\n")
  else()
    string(APPEND text " ${line}\n")
  endif()
endforeach()
if(copyright STREQUAL "")
  message(FATAL_ERROR "${LICENSE_FILE} has no line 'Copyright (c) YEAR HOLDER'")
endif()
string(REGEX REPLACE "^ \\.\n" "" text "${text}")  # the blank line after the copyright line

file(WRITE "${OUTPUT}" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tolvashu data installer
Upstream-Contact: ${CONTACT}

Files: *
Copyright: ${copyright}
License: Expat
Comment: The MIT licence; Expat is the name Debian gives this text of it.

License: Expat
${text}")
