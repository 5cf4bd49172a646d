# `cpack -G DEB` in a build tree (or `cpack --preset release`): a Debian
# package of what `cmake --install` places, which declares the runtime
# packages of the libraries the programs link (Qt 6, libprimesieve, ...).
# Its documentation folder holds the copyright file, made from LICENSE, and
# packaging/changelog compressed.
find_program(GZIP gzip REQUIRED)

# LICENSE as a machine-readable Debian copyright file: its copyright holder,
# and the terms below "All rights reserved." as the license paragraph, each
# line indented by one space and each empty line written as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" holder "${license}")
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE ".*All rights reserved\\.\n\n" "" terms "${license}")
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${PROJECT_BINARY_DIR}/doc/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: ${PROJECT_NAME}\n\n"
     "Files: *\n"
     "Copyright: ${holder}\n"
     "License: BSD-2-clause\n"
     " ${terms}\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

set(changelog ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressed changelog"
  VERBATIM)
add_custom_target(compressed_changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME gapmerge)
set(CPACK_PACKAGE_VENDOR "gapmerge developers")
set(CPACK_PACKAGE_CONTACT "gapmerge developers <gapmerge@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "merge Tramvelok slice reports into prime-gap statistics")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "gapmerge merges the slice reports that the prime sieve Tramvelok leaves,\n"
       "one per sieved range, into one histogram of prime gaps, checks every\n"
       "report for consistency and writes the merged statistics to fileout.txt.\n"
       "It shows the result in a window or, with --batch, on standard output.\n"
       "make-slices writes real slice reports with libprimesieve.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window hands fileout.txt to the desktop with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
