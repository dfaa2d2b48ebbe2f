#!/bin/sh
# Compile-checks the Qt-free Windows translation units of the bridge with MinGW (syntax only), and that
# they stay free of Qt headers.
# Usage: windows_syntax.sh <folder with the .cpp files>
set -eu
dir="$1"
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "$compiler not found (package g++-mingw-w64-x86-64)" >&2
    exit 1
fi
status=0
count=0
for source in "$dir"/*.cpp; do
    count=$((count + 1))
    if grep -n '#include *<Q' "$source" "${source%.cpp}.h" 2>/dev/null; then
        echo "FAIL (Qt header): $source" >&2
        status=1
    fi
    if "$compiler" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -iquote "$dir" "$source"; then
        echo "ok: $source"
    else
        echo "FAIL: $source" >&2
        status=1
    fi
done
if [ "$count" -eq 0 ]; then
    echo "no sources in $dir" >&2
    exit 1
fi
exit $status
