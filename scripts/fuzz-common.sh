# Shared by the run-fuzz-*.sh scripts: every libFuzzer target is built with clang in one
# build folder (build-fuzz), so the libraries they share are compiled once.
#
#   run_fuzz_target NAME SECONDS [LIBFUZZER OPTION...]
#
# builds fuzz_NAME from fuzz/NAME and runs it for SECONDS on the corpus build-fuzz/corpus-NAME
# (new inputs go there; the committed fuzz/NAME/seeds are only read), with the given options
# (a dictionary, a largest input). Exits non-zero when the run finds a crash, a hang or a
# sanitizer report; the input that caused it is left in build-fuzz as crash-*, timeout-* or
# leak-*.
fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_build=$fuzz_root/build-fuzz

# The sanitizers' settings for fuzzing, whatever a caller exported for its test runs. A small
# quarantine lets freed memory be reused sooner, which keeps a long run's memory low (a stale
# pointer is still caught, only less far back), and stack-use-after-return, which moves every
# stack frame to the heap, is left to the sanitizer test runs: here it would cost a third of
# the inputs tried. Nor are the stacks of each allocation and release recorded, which costs a
# tenth: a report names where the fault happened, and the input left behind, run again with
# ASAN_OPTIONS=malloc_context_size=30, shows where the memory came from.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16:detect_stack_use_after_return=0:malloc_context_size=0

run_fuzz_target() {
  local name=$1 seconds=$2
  shift 2
  cmake -S "$fuzz_root" -B "$fuzz_build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUINDLE_FUZZ=ON -DQUINDLE_TESTS=OFF -DQUINDLE_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
  cmake --build "$fuzz_build" --target "fuzz_$name" -j2

  local corpus=$fuzz_build/corpus-$name
  mkdir -p "$corpus"
  local options=(-max_total_time="$seconds" -timeout=10 -artifact_prefix="$fuzz_build/" "$@")
  "$fuzz_build/fuzz/$name/fuzz_$name" "${options[@]}" "$corpus" "$fuzz_root/fuzz/$name/seeds"
}
