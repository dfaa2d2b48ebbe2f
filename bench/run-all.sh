#!/usr/bin/env bash
# Runs every benchmark and prints its figures: the start-up ratio, the computer-list poll, the demo
# service's list, and the idle cost. Needs a build of the client and the bench targets:
#   cmake --build build --target vantorix bench_session_poll bench_demo_list bench_bare_window
# Usage: bench/run-all.sh [build-dir]     (IDLE_SECONDS=60 and STARTUP_RUNS=15 by default)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
export QT_QPA_PLATFORM=offscreen

echo "== start-up (process start to first frame)"
python3 "$ROOT/bench/startup.py" "$BUILD" "${STARTUP_RUNS:-15}"
echo
echo "== one computer-list poll in the session"
"$BUILD/bench/bench_session_poll"
echo
echo "== demo service: list_user_vm_instances"
"$BUILD/bench/bench_demo_list"
echo
echo "== idle cost"
python3 "$ROOT/bench/idle.py" "$BUILD" "${IDLE_SECONDS:-60}"
