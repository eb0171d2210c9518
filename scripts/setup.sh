#!/usr/bin/env bash
# Installs every Debian package the builds, tests and tools need. Safe to run
# again: it only calls apt when something is missing (CI always refreshes).
set -euo pipefail

packages=(
  cmake make g++ pkg-config git
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcairo2-dev libpango1.0-dev fonts-liberation2 fontconfig
  libcli11-dev nlohmann-json3-dev libstb-dev libpugixml-dev zlib1g-dev
  libmspack-dev gcab
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

# The Windows tool reads gauge files with pugixml too, built from Debian's
# source package of the very version installed for Linux (Debian ships no
# Windows build): its sources need a deb-src entry.
src_list=/etc/apt/sources.list.d/contactscope-src.sources
need_sources=false
if [ ! -f "$src_list" ]; then
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$codename" | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  need_sources=true
fi

if [ "${#missing[@]}" -gt 0 ] || [ "${CI:-}" = "true" ] || $need_sources; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
fi

# pugixml's source for the Windows build, once, into build/third-party/.
pugixml_version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
upstream=${pugixml_version%-*}
third_party="$(cd "$(dirname "$0")/.." && pwd)/build/third-party"
if [ ! -f "$third_party/pugixml-$upstream/src/pugixml.cpp" ]; then
  mkdir -p "$third_party/download"
  (cd "$third_party/download" && apt-get source --download-only -qq "pugixml=$pugixml_version" 2>/dev/null)
  tar -xzf "$third_party/download/pugixml_$upstream.orig.tar.gz" -C "$third_party"
  [ -f "$third_party/pugixml-$upstream/src/pugixml.cpp" ] ||
    { echo "pugixml $upstream: no src/pugixml.cpp in Debian's source package"; exit 1; }
  ln -sfn "pugixml-$upstream" "$third_party/pugixml"
fi
