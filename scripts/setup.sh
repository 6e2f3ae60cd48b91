#!/usr/bin/env bash
# Installs what building Kelno needs, when it is missing, from Debian's archive.
#   scripts/setup.sh          what the build and the editor need
#   scripts/setup.sh --tests  that, and what the tests need besides
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev
    # The sparse solvers for loop equations that the sweeps cannot settle.
    libeigen3-dev
    # Qt's own dialogs (files, printing, preview) in Japanese.
    qt6-translations-l10n
    fonts-ipafont-gothic
)
if [[ "${1:-}" == "--tests" ]]; then
    # ngspice is the independent simulator the analysis is checked against; clang and its
    # runtime build the fuzz targets; poppler-utils turns printed pages into pictures;
    # emscripten and binaryen build the core for WebAssembly, whose tests run under node;
    # npm brings the page's TypeScript compiler and puppeteer-core, which drives Debian's
    # chromium for the page's tests (nothing downloads a browser).
    packages+=(ngspice clang libclang-rt-14-dev poppler-utils emscripten binaryen nodejs chromium)
    # Debian's npm only where no npm came with node (some node packages bring their own).
    command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
run_as_root=()
if [[ $(id -u) -ne 0 ]]; then
    run_as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -qq
"${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
