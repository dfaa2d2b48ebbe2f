#!/usr/bin/env bash
# Builds the fuzz targets with clang and the sanitizers in their own build directory and runs each one for
# FUZZ_SECONDS (default 60) on its committed corpus. Any crash, leak or sanitizer report fails the run;
# the input that caused it is left in the build directory (crash-*, leak-*, timeout-*).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
TARGETS=(fuzz_records fuzz_computer_list fuzz_price_history fuzz_command_message fuzz_csv)

CC=clang CXX=clang++ cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "${FUZZ_JOBS:-$(nproc)}" --target "${TARGETS[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
for target in "${TARGETS[@]}"; do
    name="${target#fuzz_}"
    corpus="$ROOT/tests/fuzz/corpus/$name"
    # New inputs go to a scratch folder; the committed corpus only seeds the run.
    scratch="$BUILD/corpus-$name"
    mkdir -p "$scratch"
    echo "== $target: ${SECONDS_EACH}s"
    if ! (cd "$BUILD" && "./$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 "$scratch" "$corpus" 2>"$BUILD/$target.log"); then
        echo "!! $target failed:"
        tail -n 60 "$BUILD/$target.log"
        failed=1
    else
        grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$BUILD/$target.log" || true
    fi
done
exit $failed
