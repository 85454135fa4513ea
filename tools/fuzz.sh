#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of
# seconds, one after the other. Skipped (with a note) where clang is not
# installed. An input that runs longer than 60 s counts as a fault (a hang).
# Each starts from the project's own seeds (tests/fuzz/corpus), and for the
# BMP targets also from the BMP test suite where it lies beside the repository.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-30}
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, fuzzers skipped"
  exit 0
fi
root=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDK_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
targets=(fuzz_bmp fuzz_stamp fuzz_quest)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
suite="$root/../shared/bmpsuite"
[ -d "$suite" ] || echo "fuzz: the BMP test suite is not beside this repository ($suite): seeds from tests/fuzz/corpus only"
for t in "${targets[@]}"; do
  kind=${t#fuzz_}
  corpus=$(mktemp -d)
  cp -r "$root/tests/fuzz/corpus/$kind/." "$corpus/"
  seeds=("$corpus")
  if [ "$kind" != quest ] && [ -d "$suite" ]; then
    seeds+=("$suite/g" "$suite/q" "$suite/b")
  fi
  echo "fuzz: $t for ${seconds}s"
  log="$build/$t.log"
  status=0
  QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -max_len=200000 -timeout=60 -print_final_stats=1 -artifact_prefix="$build/$t-" "${seeds[@]}" >"$log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|stat::new_units_added)|ERROR|SUMMARY" "$log" || true
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: $t found a fault (exit $status); see $build/$t-*"
    exit 1
  fi
done
