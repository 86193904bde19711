# SPDX-License-Identifier: GPL-3.0-or-later
# The .deb packages: `make package` (or `cpack` in a build folder configured with the prefix /usr).
# vane, the game; vane-data, the forged data it plays, the same bytes on every architecture, so
# Architecture all and Multi-Arch foreign; vane-tools, the forge, the file tools and the headless
# runner: programs for making and looking into the data, in /usr/bin and in a section of their
# own rather than in /usr/games, since they are not games and a player needs none of them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data tools)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(vane_deb_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
if(VANE_HOMEPAGE)
  set(CPACK_PACKAGE_HOMEPAGE_URL ${VANE_HOMEPAGE})
endif()

# Whoever builds the package maintains it until the project has an address of its own: the name
# and address Debian's tools take (DEBFULLNAME, DEBEMAIL), else the source tree's git identity.
if(NOT DEFINED CACHE{VANE_MAINTAINER})
  set(vane_maintainer "")
  if(DEFINED ENV{DEBEMAIL})
    set(vane_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
  else()
    find_program(GIT git)
    if(GIT)
      execute_process(COMMAND ${GIT} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE vane_git_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE vane_git_email OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(vane_git_name AND vane_git_email)
        set(vane_maintainer "${vane_git_name} <${vane_git_email}>")
      endif()
    endif()
  endif()
  set(VANE_MAINTAINER "${vane_maintainer}" CACHE STRING "The packages' maintainer: Name <address>")
endif()
if(VANE_MAINTAINER)
  set(CPACK_PACKAGE_CONTACT "${VANE_MAINTAINER}")
else()
  message(STATUS "No maintainer for the .deb: set VANE_MAINTAINER (\"Name <address>\") to package")
endif()

# The libraries come from the binaries themselves; the forge draws its lettering with the font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/description.txt vane_description)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME vane)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "vane-data (= ${vane_deb_version})")
set(CPACK_DEBIAN_GAME_DESCRIPTION
    "vertical shoot-'em-up with two stages and two ships\n${vane_description}")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME vane-data)
set(CPACK_DEBIAN_DATA_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DATA_DESCRIPTION "data files of the shoot-'em-up VANE
The seven sprite files and the two sound banks the game vane plays: every
picture and every sound of the game, made by the game's own code when it
was built.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME vane-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "vane-data (= ${vane_deb_version}), fonts-dejavu-core")
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "tools for the data of the shoot-'em-up VANE
vane-forge draws the sprite files and composes the sound banks of the game
vane; vane-spr and vane-snd turn them into PNG pictures and WAV clips and
back; vane-sim runs the game without a display, driven by a key script,
and traces every frame.")

# Multi-Arch is a field CPack does not write: it is added to vane-data once it is built.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/multiarch.cmake)
# Debian ships the licence once, in /usr/share/common-licenses; the copyright file points there.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};vane;ALL;/")
include(CPack)
