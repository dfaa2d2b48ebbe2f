#!/usr/bin/env bash
# Runs bench/signedin.py in a private network namespace when the machine allows one (the program's local
# command port is fixed and other copies of it may run here), under its own X server and session bus.
#   bench/signedin.sh <build-dir> signin|idle|soak [options]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
inner=(xvfb-run -a -s "-screen 0 1600x1000x24" dbus-run-session -- python3 "$here/signedin.py" "$@")
if [ "${BENCH_NO_NETNS:-}" != "1" ] && unshare -n true 2>/dev/null; then
  exec unshare -n bash -c 'ip link set lo up && exec "$@"' bash "${inner[@]}"
fi
echo "note: no private network namespace; the local command port is shared with this machine" >&2
exec "${inner[@]}"
