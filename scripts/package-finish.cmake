# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
#
# Run by CPack on the Debian package it made (CPACK_POST_BUILD_SCRIPTS), to put right two
# things CPack 3.25 does not let a project choose: its Installed-Size follows the links in
# bin/ and games/ and counts the program three times, and it adds ldconfig calls to postinst
# and postrm whenever it sees a library under usr/lib, though the libraries in usr/lib/tarvola/
# are the program's own, loaded from its folder, which ldconfig never looks at. The package is
# unpacked and built again by dpkg-deb with the size as dpkg-gencontrol counts it and without
# those scripts (they do nothing else).
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")

  # Each file in whole KiB, each folder and link 1 KiB.
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${tree}/*")
  set(kib 0)
  foreach(entry IN LISTS entries)
    if(entry MATCHES "^${tree}/DEBIAN(/|$)")
      continue()
    elseif(IS_SYMLINK "${entry}" OR IS_DIRECTORY "${entry}")
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()
  file(READ "${tree}/DEBIAN/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+" "\nInstalled-Size: ${kib}" control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")

  execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${deb}" OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
