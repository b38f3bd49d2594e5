#!/usr/bin/env bash
# Builds the settings reader's libFuzzer target with clang in its own build folder
# (build-fuzz) and runs it for the given number of seconds, 60 by default. Exits non-zero
# when the run finds a crash, a hang or a sanitizer report; the input that caused it is
# left in build-fuzz as crash-*, timeout-* or leak-*.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUINDLE_FUZZ=ON -DQUINDLE_TESTS=OFF -DQUINDLE_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target fuzz_settings -j2

# New inputs go to the build folder's corpus; the committed seeds are only read.
corpus=$build/corpus-settings
mkdir -p "$corpus"
"$build/fuzz/settings/fuzz_settings" \
  -max_total_time="$seconds" -timeout=10 \
  -dict="$root/fuzz/settings/settings.dict" \
  -artifact_prefix="$build/" \
  "$corpus" "$root/fuzz/settings/seeds"
