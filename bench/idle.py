#!/usr/bin/env python3
"""Idle cost of the client: CPU percent of one core and peak resident memory over a window of time,
after a warm-up, with the window on the offscreen platform.

    python3 bench/idle.py [build-dir] [seconds]

Measures the signed-out window (the sign-in view). The signed-in case (50 computers, previews on, 7 s
polling) needs an automatic sign-in against the demo service and is not measured by this script yet.
"""
import os
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def peak_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "build")
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    home = tempfile.mkdtemp(prefix="vantorix-idle-")
    env = dict(os.environ)
    env.update({"QT_QPA_PLATFORM": "offscreen", "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
                "VANTORIX_SERVICE_URL": "http://127.0.0.1:9"})
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    proc = subprocess.Popen([os.path.join(build, "vantorix")], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        time.sleep(5)  # start-up and the first requests
        c0, t0 = cpu_seconds(proc.pid), time.monotonic()
        time.sleep(seconds)
        c1, t1 = cpu_seconds(proc.pid), time.monotonic()
        peak = peak_kb(proc.pid)
    finally:
        proc.terminate()
        proc.wait(timeout=10)
    percent = 100.0 * (c1 - c0) / (t1 - t0)
    print(f"idle, sign-in view, {seconds:.0f} s: CPU {percent:.2f} % of one core, peak memory {peak / 1024:.1f} MB "
          f"(goal for the signed-in case: under 2 % and under 200 MB)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
