#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and runs lintian on it: any error fails.
# Usage: lintian_test.sh BUILD_DIR
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; exit 1; }
lintian --fail-on error --tag-display-limit 0 "$scratch"/vantrel_*_amd64.deb
