#!/usr/bin/env bash
# Builds the settings reader's libFuzzer target with clang in the shared fuzz build folder
# (build-fuzz) and runs it for the given number of seconds, 60 by default. Exits non-zero
# when the run finds a crash, a hang or a sanitizer report; the input that caused it is
# left in build-fuzz as crash-*, timeout-* or leak-*.
set -euo pipefail
source "$(dirname "$0")/fuzz-common.sh"
# Inputs up to 1 KB: room for a dozen statements, and each try stays quick.
run_fuzz_target settings "${1:-60}" -dict="$fuzz_root/fuzz/settings/settings.dict" -max_len=1024
