# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of what gets installed: the menu entry, the AppStream file, the licence lines, the .deb.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
  add_test(NAME packaging.desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${gen}/vane.desktop)
  set_tests_properties(packaging.desktop_entry PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning")
endif()
if(APPSTREAMCLI)
  add_test(NAME packaging.metainfo
           COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
                   ${gen}/${VANE_APPSTREAM_ID}.metainfo.xml)
endif()
add_test(NAME packaging.spdx COMMAND ${PROJECT_SOURCE_DIR}/tools/spdx.sh --check
         WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
# The .deb that `make package` builds; skipped until there is one.
add_test(NAME packaging.deb
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-deb.sh
                 ${PROJECT_SOURCE_DIR}/build/package)
set_tests_properties(packaging.deb PROPERTIES SKIP_RETURN_CODE 77)
