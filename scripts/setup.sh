#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) and builds everything.
# Usage: scripts/setup.sh [build-dir] [extra cmake arguments...]
# A second run installs nothing and rebuilds only what changed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
          xvfb xauth locales python3-html5lib poppler-utils fonts-dejavu-core
          help2man dpkg-dev file lintian bash-completion)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Packages are missing; run this as root (or install them with sudo apt-get)." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja "$@"
fi
cmake --build "$build"
