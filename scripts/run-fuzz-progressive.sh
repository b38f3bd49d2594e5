#!/usr/bin/env bash
# Builds the progressive-JPEG first-scans libFuzzer target in the shared fuzz build folder
# (build-fuzz) and runs it for the given number of seconds, 60 by default. Exits non-zero on
# a crash, a hang or a sanitizer report; the input is left in build-fuzz as crash-* or
# timeout-*.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
run_fuzz_target progressive "${1:-60}" -max_len=16384
