#!/usr/bin/env bash
# Installs, builds and starts the tool on the simulated actuator.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" "$root/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting under a virtual X server (xvfb-run)." >&2
    exec xvfb-run -a -s "-screen 0 800x900x24" "$root/build/app/qt/vantrel" --simulate "$@"
fi
exec "$root/build/app/qt/vantrel" --simulate "$@"
