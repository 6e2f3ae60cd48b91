#!/usr/bin/env bash
# Builds the WebAssembly core with Debian's emscripten (the web preset, build/web): the
# page's module build/web/kelno.js, kelno-cli for node, and the core's tests for node.
set -euo pipefail
cd "$(dirname "$0")/.."
# emscripten's optimiser needs node's modules from Debian (acorn).
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web
# The page around the module: build/web/site/.
scripts/build-site.sh
