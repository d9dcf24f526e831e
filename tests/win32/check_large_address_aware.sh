#!/usr/bin/env bash
# Checks that a Windows executable is a 32-bit PE marked large-address-aware: the flag 0x0020 in
# the Characteristics of its COFF file header, so that 64-bit Windows gives it 4 GB of addresses.
set -euo pipefail
exe=$1

# Little-endian unsigned integer of `size` bytes at `offset`.
read_uint() {
  od -An -t u"$2" -j "$1" -N "$2" --endian=little "$exe" | tr -d ' '
}

pe=$(read_uint 60 4)
signature=$(od -An -c -j "$pe" -N 4 "$exe" | tr -d ' ')
[ "$signature" = 'PE\0\0' ] || { echo "no PE signature at $pe: $signature"; exit 1; }
machine=$(read_uint $((pe + 4)) 2)
[ "$machine" -eq $((0x014c)) ] || { echo "not a 32-bit x86 image: machine $machine"; exit 1; }
characteristics=$(read_uint $((pe + 22)) 2)
printf 'characteristics: 0x%04x\n' "$characteristics"
if (((characteristics & 0x0020) == 0)); then
  echo "not large-address-aware: $exe"
  exit 1
fi
echo "large-address-aware: $exe"
