#!/usr/bin/env bash
# Builds the web page (the WebAssembly core and the site) and serves build/web/site/ on
# 127.0.0.1; the address is printed. Any web server can serve that folder instead.
#   scripts/start-web.sh [PORT]   (default 8018; 0 takes any free port)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/build-web.sh
exec node web/tools/serve.mjs build/web/site "${1:-8018}"
