#!/usr/bin/env bash
# Installs every Debian package the builds, tests and tools need. Safe to run
# again: it only calls apt when something is missing (CI always refreshes).
set -euo pipefail

packages=(
  cmake make g++ pkg-config git
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcairo2-dev libpango1.0-dev fonts-liberation2 fontconfig
  libcli11-dev nlohmann-json3-dev libstb-dev libpugixml-dev
  clang-14 libclang-rt-14-dev clang-format valgrind
  wine wine32:i386 fonts-wine
  chromium
)
# Node.js and npm run the report pages' browser test (tests/report/); a
# machine that already has them from another source keeps its own.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  missing+=(wine32:i386)
fi

if [ "${#missing[@]}" -gt 0 ] || [ "${CI:-}" = "true" ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
fi
