#!/usr/bin/env bash
# Installs what is needed, builds the client and the demo service, starts the demo service on loopback and
# runs the client against it. The client's window stays until you quit it from the tray menu (or Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR="${BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" --target vantorix vantorix-demo-service -j "$(nproc)"

service_log="$(mktemp -t vantorix-demo-service.XXXXXX)"
# Standard output starts with the base URL; diagnostics go to a separate file.
"$BUILD_DIR/demo-service/vantorix-demo-service" --port 0 >"$service_log" 2>"$service_log.err" &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  base_url="$(head -n 1 "$service_log" 2>/dev/null || true)"
  case "$base_url" in http://*) break ;; esac
  sleep 0.1
done
case "$base_url" in http://*) ;; *) echo "The demo service did not start; its output:" >&2; cat "$service_log" "$service_log.err" >&2; exit 1 ;; esac
echo "Demo service at $base_url (its output, including the e-mails it sends: $service_log)"

export VANTORIX_SERVICE_URL="$base_url"
# Without a display (a bare server), run under a virtual X server.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec_prefix=(xvfb-run -a -s "-screen 0 1280x800x24")
  echo "No display found: running under Xvfb."
else
  exec_prefix=()
fi
"${exec_prefix[@]}" "$BUILD_DIR/vantorix" "$@"
