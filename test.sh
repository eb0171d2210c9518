#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds the Windows DLL, its
# release zip and the Linux sanitizer build, runs a bounded fuzzing run of
# every fuzz target and the leak check under Valgrind, then every test (the
# Linux suites, the Wine suite against the real DLL and the package check).
#
#   ./test.sh                  everything
#   CS_FUZZ_SECONDS=10 ./test.sh   shorter fuzzing (default 60 s per target)
#   CS_QUICK=1 ./test.sh       the CTest suites only
#
# On a machine that cannot execute 32-bit programs (wine fails with "Exec
# format error") the tests that need Wine are reported as skipped and the run
# ends with a block naming what was not checked.
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

# The Wine probe's verdict (tests/wine/scripts/wine_probe.sh) of this run.
probe=build/linux-asan/tests/wine/wine-probe.txt
rm -f "$probe"
status=0
ctest --preset linux-asan -j2 "$@" || status=$?

not_checked() {
  echo
  echo "==== NOT CHECKED ON THIS MACHINE ===================================="
  echo "$1"
  echo "  - the Wine suite: ContactScope.dll and the Windows preview tool run"
  echo "    under 32-bit Wine, compared with the Linux module (label wine)"
  echo "  - the packaged preview under Wine: package.preview, package.broken_module"
  echo "Checked all the same: the Windows cross-build and the release zip, the"
  echo "DLL's exports, imports and resources (label dll), the zip's contents"
  echo "(package.contents) and every Linux suite. Run ./test.sh on a machine"
  echo "that executes 32-bit programs to check the DLL itself."
  echo "====================================================================="
}
if [ -f "$probe" ]; then
  case "$(cat "$probe")" in
  "cannot run 32-bit programs"*)
    not_checked "This machine cannot execute 32-bit programs, so ContactScope.dll was
not run under Wine ($(sed 's/^cannot run 32-bit programs: //' "$probe")):" ;;
  esac
else
  not_checked "The Wine probe did not run in this selection of tests, so:"
fi
exit "$status"
