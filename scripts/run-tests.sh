#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/build.sh
scripts/check-core-free-of-qt.sh
ctest --preset default
