#!/usr/bin/env bash
# Renders the built-in encounter set (or the scenarios given) into ./preview-out/:
# installs what it needs, builds the linux-release preset and runs the preview tool.
# Any arguments go to contactscope-preview (try --help).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/setup.sh"
(
  cd "$here"
  cmake --preset linux-release >/dev/null
  cmake --build --preset linux-release --target contactscope-preview >/dev/null
)
exec "$here/build/linux-release/tools/cli/contactscope-preview" "$@"
