# `cpack -G DEB` in a build tree (or `cpack --preset release`): a Debian
# package of what `cmake --install` places, which declares the runtime
# packages of the libraries the programs link (Qt 6, libprimesieve, ...).
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
