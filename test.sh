#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds the Windows DLL, its
# release zip and the Linux sanitizer build, runs a bounded fuzzing run of
# every fuzz target and the leak check under Valgrind, then every test (the
# Linux suites, the Wine suite against the real DLL and the package check).
#
#   ./test.sh                  everything
#   CS_FUZZ_SECONDS=10 ./test.sh   shorter fuzzing (default 60 s per target)
#   CS_QUICK=1 ./test.sh       the CTest suites only
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

cmake --preset windows >/dev/null
# Everything of the Windows build, then the release zip it makes.
cmake --build --preset windows --target package

cmake --preset linux-asan -DCS_WINDOWS_BUILD_DIR="$PWD/build/windows" >/dev/null
cmake --build --preset linux-asan

if [ -z "${CS_QUICK:-}" ]; then
  scripts/fuzz.sh "${CS_FUZZ_SECONDS:-60}"
  scripts/leakcheck.sh
fi

ctest --preset linux-asan -j2 "$@"
