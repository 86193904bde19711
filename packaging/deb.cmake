# SPDX-License-Identifier: GPL-3.0-or-later
# The .deb: `make package` (or `cpack` in a build folder configured with the prefix /usr).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VANE maintainers <maintainers@users.noreply.c-seed-d4f6e447.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertical shoot-'em-up with two stages and two ships")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/description.txt)
set(CPACK_PACKAGE_HOMEPAGE_URL ${VANE_HOMEPAGE})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries themselves; the forge draws its lettering with the font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Debian ships the licence once, in /usr/share/common-licenses; the copyright file points there.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};vane;Unspecified;/")
include(CPack)
