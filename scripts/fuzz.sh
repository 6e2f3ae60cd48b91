#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour sanitizers)
# and runs each for a given time, one after the other.
#   scripts/fuzz.sh                   every target for 60 seconds
#   scripts/fuzz.sh 600 kel_file      one target for ten minutes
# New inputs collect in build/fuzz/corpus/TARGET, the seeds stay in fuzz/corpus/TARGET;
# a crash, hang, leak or broken property leaves its input in build/fuzz/findings and
# ends the script with a failure.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=(kel_file clipboard_paste details_number)
fi

scripts/setup.sh --tests
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/findings
for target in "${targets[@]}"; do
    corpus="build/fuzz/corpus/${target}"
    mkdir -p "${corpus}"
    dictionary=()
    [[ -f "fuzz/${target}.dict" ]] && dictionary=(-dict="fuzz/${target}.dict")
    # Every paste is analysed several times, and an analysis that does not settle runs all
    # its sweeps: shorter texts keep one input within the time bound.
    max_len=4096
    [[ "${target}" == clipboard_paste ]] && max_len=1024
    echo "== ${target}: ${seconds} s"
    # -timeout: one input may take this many seconds (on a busy machine); -rss_limit_mb:
    # and this much memory. The progress lines of every new input are left out; the rest
    # is the run's report.
    set +e
    "build/fuzz/fuzz/${target}_fuzzer" "${dictionary[@]}" \
        -max_total_time="${seconds}" -timeout=30 -rss_limit_mb=1024 -max_len="${max_len}" \
        -print_final_stats=1 -artifact_prefix="build/fuzz/findings/${target}-" \
        "${corpus}" "fuzz/corpus/${target}" 2>&1 |
        grep -v -E '^(#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|[[:space:]]+NEW_FUNC)'
    status="${PIPESTATUS[0]}"
    set -e
    if [[ "${status}" -ne 0 ]]; then
        echo "${target}: the fuzzer stopped with a finding (status ${status}); see build/fuzz/findings" >&2
        exit 1
    fi
done
