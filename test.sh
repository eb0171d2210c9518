#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds the Windows DLL and the
# Linux sanitizer build, and runs every test (the Linux suite and the Wine
# suite against the real DLL).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows

cmake --preset linux-asan -DCS_WINDOWS_BUILD_DIR="$PWD/build/windows" >/dev/null
cmake --build --preset linux-asan
ctest --preset linux-asan -j2 "$@"
