#!/usr/bin/env bash
# Configures and builds Kelno with the default preset (build/default).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default
