#!/usr/bin/env bash
# The core is standard C++ that a command-line tool and the tests use without any window:
# fails when a file under src/core includes a Qt header.
set -euo pipefail
cd "$(dirname "$0")/.."
if hits=$(grep -rnE '#[[:space:]]*include[[:space:]]*[<"](Q|qt)' src/core src/web); then
    echo "src/core and src/web must not include Qt headers:" >&2
    echo "$hits" >&2
    exit 1
fi
echo "src/core and src/web are free of Qt."
