#!/usr/bin/env bash
# Runs one end-to-end journey of the real program: in a private network namespace when the machine allows
# one (the program's local command port is fixed, and other copies of the program may run on this machine),
# under its own X server and its own D-Bus session bus.
# usage: run-journey.sh <journey> <screen WxH> <harness args...>
set -euo pipefail
journey="$1"; screen="$2"; shift 2
here="$(cd "$(dirname "$0")" && pwd)"
# Debian's interpreter: the accessibility bindings are installed for it.
py=/usr/bin/python3
inner=(xvfb-run -a -s "-screen 0 ${screen}x24" dbus-run-session -- "$py" "$here/journeys.py" "$journey" "$@")
if [ "${E2E_NO_NETNS:-}" != "1" ] && unshare -n true 2>/dev/null; then
  exec unshare -n bash -c 'ip link set lo up && exec "$@"' bash "${inner[@]}"
fi
echo "note: no private network namespace; the local command port is shared with this machine" >&2
exec "${inner[@]}"
