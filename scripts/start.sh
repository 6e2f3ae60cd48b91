#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Kelno editor on an example circuit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
editor=build/default/src/app/kelno
circuit=examples/bulbs-in-parallel.kel
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display here (DISPLAY is not set): Kelno is built; start it on a desktop with $editor $circuit"
    exit 0
fi
exec "$editor" "$circuit"
