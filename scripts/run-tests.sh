#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the desktop build's, then the
# WebAssembly build's under node (which compares itself with the desktop build).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/build.sh
scripts/check-core-free-of-qt.sh
ctest --preset default
scripts/build-web.sh
ctest --preset web
