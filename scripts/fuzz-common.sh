# Shared by the run-fuzz-*.sh scripts: every libFuzzer target is built with clang in one
# build folder (build-fuzz), so the libraries they share are compiled once.
#
#   run_fuzz_target NAME SECONDS [DICTIONARY]
#
# builds fuzz_NAME from fuzz/NAME and runs it for SECONDS on the corpus build-fuzz/corpus-NAME
# (new inputs go there; the committed fuzz/NAME/seeds are only read). Exits non-zero when the
# run finds a crash, a hang or a sanitizer report; the input that caused it is left in
# build-fuzz as crash-*, timeout-* or leak-*.
fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_build=$fuzz_root/build-fuzz

run_fuzz_target() {
  local name=$1 seconds=$2 dictionary=${3:-}
  cmake -S "$fuzz_root" -B "$fuzz_build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUINDLE_FUZZ=ON -DQUINDLE_TESTS=OFF -DQUINDLE_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
  cmake --build "$fuzz_build" --target "fuzz_$name" -j2

  local corpus=$fuzz_build/corpus-$name
  mkdir -p "$corpus"
  local options=(-max_total_time="$seconds" -timeout=10 -artifact_prefix="$fuzz_build/")
  [ -n "$dictionary" ] && options+=(-dict="$dictionary")
  "$fuzz_build/fuzz/$name/fuzz_$name" "${options[@]}" "$corpus" "$fuzz_root/fuzz/$name/seeds"
}
