#!/usr/bin/env bash
# Builds the tracking log's libFuzzer target (event texts of any bytes, days and months
# turning) in the shared fuzz build folder (build-fuzz) and runs it for the given number of
# seconds, 60 by default. Exits non-zero on a crash, a hang, a sanitizer report or a line
# that is lost, cut or changed; the input is left in build-fuzz as crash-* or timeout-*.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
# Inputs up to 256 bytes: dozens of events and clock steps; a step moves the clock up to ten
# days, so days, months and the year turn within one input.
run_fuzz_target tracking "${1:-60}" -max_len=256
