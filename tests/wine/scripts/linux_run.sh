#!/bin/sh
# Runs the Linux scenario host into a fresh output folder.
#   linux_run.sh <out folder> <program> [arguments...]
set -eu
rm -rf "$1"
mkdir -p "$1"
shift
exec "$@"
