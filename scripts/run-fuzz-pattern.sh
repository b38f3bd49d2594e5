#!/usr/bin/env bash
# Builds the folder listing's pattern-match libFuzzer target in the shared fuzz build folder
# (build-fuzz) and runs it for the given number of seconds, 60 by default. Exits non-zero on
# a crash, a hang, a sanitizer report or a match that differs from the reference; the input
# is left in build-fuzz as crash-* or timeout-*.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
# Inputs up to 511 bytes: the length byte, a pattern of up to 255 bytes and a name of up to
# 255, the longest a file name can be on Linux's file systems.
run_fuzz_target pattern "${1:-60}" -max_len=511
