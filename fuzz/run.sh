#!/usr/bin/env bash
# Builds the stroke file fuzzer with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, seeds it with real saved paintings and runs it.
#   fuzz/run.sh [seconds, default 600] [extra libFuzzer options…]
# Crashes land in build/fuzz/artifacts; add each to the malformed-file table
# in tests/model/PaintingFileMalformedTest.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
  -DPINTARO_FUZZ=ON -DPINTARO_SANITIZE=ON -DPINTARO_BUILD_TESTS=OFF -DPINTARO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target stroke_file_fuzzer make_stroke_file_seeds
mkdir -p "$build/corpus" "$build/artifacts"
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/make_stroke_file_seeds" "$build/seeds"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$build/fuzz/stroke_file_fuzzer" "$build/corpus" "$build/seeds" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=65536 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 "$@"
