#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kelno. Until the editor window exists it
# analyses the example circuits with kelno-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
for circuit in examples/*.kel; do
    build/default/src/cli/kelno-cli analyze "$circuit"
    echo
done
