# SPDX-License-Identifier: GPL-2.0-or-later
# SPDX-FileCopyrightText: 2026 Tarvola developers
# Run when installing, after desktop_entry_source, desktop_entry and desktop_entry_bindir are
# set: writes the desktop entry whose Exec line starts the program installed under
# CMAKE_INSTALL_PREFIX whatever the user's PATH.
if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
  set(exec tarvola)
else()
  set(exec "${CMAKE_INSTALL_PREFIX}/${desktop_entry_bindir}/tarvola")
  if(NOT exec MATCHES "^[A-Za-z0-9/._+-]+$")
    # Quoted, with the quoting's own escapes, then the escapes of a string value: a dollar
    # sign becomes \\$, a backslash \\\\, as desktop entries require.
    foreach(reserved "\\" "\"" "`" "$")
      string(REPLACE "${reserved}" "\\${reserved}" exec "${exec}")
    endforeach()
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "%" "%%" exec "${exec}")
    string(REPLACE "\n" "\\n" exec "${exec}")
    string(REPLACE "\t" "\\t" exec "${exec}")
    string(REPLACE "\r" "\\r" exec "${exec}")
    set(exec "\"${exec}\"")
  endif()
endif()
file(READ "${desktop_entry_source}" entry)
string(FIND "${entry}" "\nExec=tarvola\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${desktop_entry_source} has no line Exec=tarvola to complete")
endif()
string(REPLACE "\nExec=tarvola\n" "\nExec=${exec}\n" entry "${entry}")
file(WRITE "${desktop_entry}" "${entry}")
