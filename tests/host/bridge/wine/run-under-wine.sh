#!/bin/sh
# Builds the Qt-free Windows units of the bridge with MinGW into a test program, with a stand-in MSTSC
# beside it, and runs it under Wine in a throwaway Wine prefix (on its own X server when there is none, for
# the window activation checks).
# Usage: run-under-wine.sh <folder of the Windows units> <work folder>
set -eu
units="$1"
work="$2"
shift 2
here="$(cd "$(dirname "$0")" && pwd)"
compiler=x86_64-w64-mingw32-g++-posix
wine=/usr/lib/wine/wine64
for tool in "$compiler" "$wine"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not found (packages g++-mingw-w64-x86-64 and wine64: scripts/install-deps.sh)" >&2
        exit 1
    fi
done

rm -rf "$work"
mkdir -p "$work"
flags="-std=c++17 -O1 -Wall -Wextra -Werror -static"
"$compiler" $flags -iquote "$units" -o "$work/windows_units.exe" "$here/windows_units_test.cpp" \
    "$units"/*.cpp -lcrypt32 -luser32 -ladvapi32
"$compiler" $flags -iquote "$units" -o "$work/mstsc.exe" "$here/mstsc_standin.cpp" "$units/hex.cpp"

prefix="$(mktemp -d "${TMPDIR:-/tmp}/vantorix-wine.XXXXXX")"
cleanup() {
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$work"
# The prefix is made once, before the run (about five seconds), under the same X server as the run: the
# desktop process that Wine starts with the prefix keeps the display it found.
run='"$0" wineboot --init >/dev/null 2>&1; exec "$0" windows_units.exe "$@"'
if [ -n "${DISPLAY:-}" ]; then
    sh -c "$run" "$wine" "$@"
else
    xvfb-run -a -n 200 -s "-screen 0 800x600x24" sh -c "$run" "$wine" "$@"
fi
