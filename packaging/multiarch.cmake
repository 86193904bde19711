# SPDX-License-Identifier: GPL-3.0-or-later
# CPack's last step: vane-data, the same on every architecture, gets "Multi-Arch: foreign", so a
# vane of any architecture is satisfied by it.
foreach(deb ${CPACK_PACKAGE_FILES})
  if(NOT deb MATCHES "/vane-data_[^/]*\\.deb$")
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/multiarch)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${tree}/DEBIAN/control control)
  string(REGEX REPLACE "\n+$" "\nMulti-Arch: foreign\n" control "${control}")
  file(WRITE ${tree}/DEBIAN/control "${control}")
  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${deb}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
