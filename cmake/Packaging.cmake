# The Debian package, made by ./package.sh with CPack.
install(TARGETS brivane brivane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brivane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Brivane developers <brivane@example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brivane.example.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter and player for the IMF music of old DOS games")
# The summary is the synopsis; CPack indents these lines and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brivane converts IMF music files, streams of AdLib register writes with
delays, from the headerless layout of Duke Nukem II and Cosmo into the
layout Wolfenstein 3-D plays, in place and with backups.

Songs can be heard first through an emulated OPL2 chip at the chosen rate,
and exported as WAV files. The package holds the window, brivane, and a
command-line tool, brivane-cli, for scripts.")
include(CPack)
