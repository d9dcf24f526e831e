#!/usr/bin/env bash
# Checks that the simulator's ftd2xx.dll is a PE of the build's kind (pei-i386 for the 32-bit
# build, pei-x86-64 for the 64-bit one) exporting the 20 D2XX names undecorated, as the real driver
# does, so the program finds it with GetProcAddress by the plain names.
#   check_exports.sh DLL [FORMAT [OBJDUMP]]
set -euo pipefail
export LC_ALL=C
dll=$1
format=${2:-pei-i386}
objdump=${3:-i686-w64-mingw32-objdump}
header=$("$objdump" -f "$dll")
grep -q "file format $format\$" <<<"$header" || { echo "not a $format PE: $header"; exit 1; }
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
missing=0
for name in FT_Open FT_OpenEx FT_Close FT_Read FT_Write FT_IoCtl FT_SetBaudRate \
    FT_SetDataCharacteristics FT_ResetDevice FT_Purge FT_SetTimeouts FT_GetQueueStatus \
    FT_GetStatus FT_CyclePort FT_EE_Read FT_EE_Program FT_ListDevices FT_CreateDeviceInfoList \
    FT_SetResetPipeRetryCount FT_GetDeviceInfoList; do
  if grep -Eq "\] ${name}\$" <<<"$exports"; then
    echo "exported: $name"
  else
    echo "MISSING:  $name"; missing=1
  fi
done
exit $missing
