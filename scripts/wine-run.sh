#!/usr/bin/env bash
# CMake's emulator for the Windows executables: runs one under Wine in the prepared prefix.
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set (run the tests through scripts/test.sh)" >&2
  exit 125
fi
exec timeout --kill-after=5 300 "${RUBBLIT_WINE:-wine}" "$@"
