#!/usr/bin/env bash
# Builds everything with gcc's coverage instrumentation in a build folder of its own, runs the host, core,
# service and views tests, and prints line and branch coverage per folder of core/, lib/ and the demo
# service. Not part of the test run: a measurement, run by hand (it takes a full build).
#   bash scripts/coverage.sh            # build-coverage/, summary on standard output
#   COVERAGE_BUILD_DIR=/tmp/cov bash scripts/coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR="${COVERAGE_BUILD_DIR:-build-coverage}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="--coverage" -DCMAKE_CXX_FLAGS="--coverage" \
  -DCMAKE_EXE_LINKER_FLAGS="--coverage" -DCMAKE_SHARED_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
find "$BUILD_DIR" -name '*.gcda' -delete
# A failing test still counts what it ran; the suite's own verdict is the test command's business.
(cd "$BUILD_DIR" && ctest -L '^(host|core|service|views)$' -j "$(nproc)" --timeout 600 --output-on-failure) || true
gcovr --root . --object-directory "$BUILD_DIR" \
  --filter 'core/' --filter 'lib/' --filter 'demo-service/' \
  --exclude '.*_autogen/.*' --exclude-unreachable-branches --exclude-throw-branches \
  --json-summary "$BUILD_DIR/coverage-summary.json" >/dev/null
python3 - "$BUILD_DIR/coverage-summary.json" <<'PY'
import collections, json, sys
summary = json.load(open(sys.argv[1]))
totals = collections.defaultdict(lambda: [0, 0, 0, 0])  # lines covered, lines, branches covered, branches
for entry in summary["files"]:
    parts = entry["filename"].split("/")
    folder = parts[0] if parts[0] == "demo-service" or len(parts) < 3 else "/".join(parts[:2])
    for key in (folder, parts[0] if parts[0] != "demo-service" else None):
        if key is None:
            continue
        t = totals[key]
        t[0] += entry["line_covered"]; t[1] += entry["line_total"]
        t[2] += entry["branch_covered"]; t[3] += entry["branch_total"]
pct = lambda a, b: f"{100.0 * a / b:5.1f} %" if b else "    -  "
print(f"{'folder':22} {'lines':>9} {'of':>6} {'branches':>9} {'of':>6}")
for folder in sorted(totals, key=lambda f: (f.count("/") == 0 and f != "demo-service", f)):
    lc, lt, bc, bt = totals[folder]
    print(f"{folder:22} {pct(lc, lt):>9} {lt:6d} {pct(bc, bt):>9} {bt:6d}")
PY
