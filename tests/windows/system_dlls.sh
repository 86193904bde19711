#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Every program imports only DLLs that every Windows has: a player needs nothing beside the .exe.
# Usage: system_dlls.sh OBJDUMP PROGRAM...
set -eu
objdump=$1
shift
failed=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | awk '/DLL Name:/ {print $3}' | sort -u | tr '\n' ' ')
  for dll in $dlls; do
    case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
      kernel32.dll | user32.dll | gdi32.dll | winmm.dll | shell32.dll | ole32.dll | msvcrt.dll) ;;
      *)
        echo "$(basename "$program") imports $dll, which is not the system's"
        failed=1
        ;;
    esac
  done
  echo "$(basename "$program"): $dlls"
done
exit $failed
