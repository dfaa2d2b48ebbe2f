#!/usr/bin/env bash
# Builds the fuzz targets with clang and the sanitizers in their own build directory and runs each one on
# its committed corpus for its own time (FUZZ_SECONDS, when set, for every one). The corpus is kept
# minimal (-merge=1) and reaches everything the earlier, longer runs reached, so a run starts where they
# ended; the times follow how long each target kept finding new coverage from there. Any crash, leak or
# sanitizer report fails the run; the input that caused it is left in the build directory (crash-*,
# leak-*, timeout-*).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
TARGETS=(fuzz_records:15 fuzz_computer_list:20 fuzz_price_history:12 fuzz_command_message:5 fuzz_csv:8)

CC=clang CXX=clang++ cmake -S "$ROOT/tests/fuzz" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "${FUZZ_JOBS:-$(nproc)}" --target "${TARGETS[@]%%:*}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
for entry in "${TARGETS[@]}"; do
    target="${entry%%:*}"
    name="${target#fuzz_}"
    corpus="$ROOT/tests/fuzz/corpus/$name"
    # New inputs go to a scratch folder; the committed corpus only seeds the run.
    scratch="$BUILD/corpus-$name"
    mkdir -p "$scratch"
    seconds="${FUZZ_SECONDS:-${entry#*:}}"
    echo "== $target: ${seconds}s"
    if ! (cd "$BUILD" && "./$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 "$scratch" "$corpus" 2>"$BUILD/$target.log"); then
        echo "!! $target failed:"
        tail -n 60 "$BUILD/$target.log"
        failed=1
    else
        grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$BUILD/$target.log" || true
    fi
done
exit $failed
