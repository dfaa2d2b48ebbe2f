#!/usr/bin/env bash
# Runs every benchmark and prints its figures: the start-up ratio, the computer-list poll, the demo
# service's list, the idle cost of the signed-out window, and the signed-in benchmarks (sign-in with 1000
# computers, idle cost signed in). Needs a build of the client, the demo service and the bench targets:
#   cmake --build build --target vantorix vantorix-demo-service bench_session_poll bench_demo_list \
#         bench_bare_window bench_seed_login
# Usage: bench/run-all.sh [--soak] [build-dir]
#   IDLE_SECONDS=60, STARTUP_RUNS=15, SIGNIN_RUNS=3 by default; --soak adds the 30-minute soak
#   (SOAK_SECONDS=1800, SOAK_WARMUP=120). The signed-in runs need xvfb-run and dbus-run-session.
set -euo pipefail
soak=0
if [ "${1:-}" = "--soak" ]; then soak=1; shift; fi
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
export QT_QPA_PLATFORM=offscreen

echo "== start-up (process start to first frame)"
python3 "$ROOT/bench/startup.py" "$BUILD" "${STARTUP_RUNS:-15}"
echo "== start-up under X (Xvfb: software OpenGL, the client's automatic renderer choice)"
unshare -n -i true 2>/dev/null && ns=(unshare -n -i) || ns=()
"${ns[@]}" xvfb-run -a -s "-screen 0 1600x1000x24" python3 "$ROOT/bench/startup.py" --x11 "$BUILD" "${STARTUP_RUNS:-15}"
echo
echo "== one computer-list poll in the session"
"$BUILD/bench/bench_session_poll"
echo
echo "== demo service: list_user_vm_instances"
"$BUILD/bench/bench_demo_list"
echo
echo "== idle cost, signed out"
python3 "$ROOT/bench/idle.py" "$BUILD" "${IDLE_SECONDS:-60}"
echo
echo "== sign-in with 1000 computers (X server, real program, demo service)"
"$ROOT/bench/signedin.sh" "$BUILD" signin --machines 990 --runs "${SIGNIN_RUNS:-3}"
echo
echo "== idle cost, signed in"
"$ROOT/bench/signedin.sh" "$BUILD" idle --machines 40 --refresh 7 --seconds "${IDLE_SECONDS:-60}"
if [ "$soak" = 1 ]; then
    echo
    echo "== soak"
    "$ROOT/bench/signedin.sh" "$BUILD" soak --machines 190 --refresh 3 --seconds "${SOAK_SECONDS:-1800}" \
        --warmup "${SOAK_WARMUP:-120}"
fi
