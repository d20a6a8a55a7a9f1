#!/usr/bin/env bash
# Builds a fuzz target with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, seeds it with real saved paintings and runs it.
#   fuzz/run.sh [seconds, default 600] [extra libFuzzer options…]
# FUZZ_TARGET=painting runs the whole-painting target instead of the stroke
# file reader. Crashes land in build/fuzz/artifacts; add each to the tables
# of tests/model/StrokeFileTest.cpp or tests/model/HostileFolderTest.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
target=${FUZZ_TARGET:-stroke_file}
build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist=$PWD/fuzz/coverage-ignore.txt" \
  -DPINTARO_FUZZ=ON -DPINTARO_SANITIZE=ON -DPINTARO_BUILD_TESTS=OFF -DPINTARO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${target}_fuzzer" make_stroke_file_seeds
mkdir -p "$build/corpus-$target" "$build/artifacts"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_stroke_file_seeds" "$build/seeds" "$build/seeds-painting"
seeds=$build/seeds
[ "$target" = painting ] && seeds=$build/seeds-painting
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$build/fuzz/${target}_fuzzer" "$build/corpus-$target" "$seeds" \
  -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=2 -max_len=65536 \
  -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "$@"
