#!/usr/bin/env python3
"""Start-up time: process start to the first rendered frame, for the client (its sign-in view) and for a
bare Qt Quick window, started alternately, N times each. Prints the medians and their ratio.

The first frame is taken from Qt's own render-loop timing line ("Frame rendered ..."), which the scene
graph writes when the qt.scenegraph.time.renderloop logging category is on. Both programs run on the
offscreen platform with an empty settings folder (the sign-in view, no automatic sign-in) and a service
address on which nothing listens.

    python3 bench/startup.py [build-dir] [runs]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def first_frame_ms(command, env):
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    elapsed = None
    try:
        for line in proc.stderr:
            if "frame rendered" in line.lower():  # the software, basic and threaded loops
                elapsed = (time.monotonic() - start) * 1000.0
                break
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    return elapsed


def x11_run(client, bare, env, runs):
    software = dict(env, QT_QUICK_BACKEND="software")
    commands = (("material", [bare, "material"], env), ("material-software", [bare, "material"], software),
                ("client", [client], env))
    times = {name: [] for name, _, _ in commands}
    for _, command, e in commands:  # unmeasured: page cache, and the client's renderer probe
        first_frame_ms(command, e)
    for _ in range(runs):
        for name, command, e in commands:
            t = first_frame_ms(command, e)
            if t is not None:
                times[name].append(t)
    if any(len(v) < runs // 2 for v in times.values()):
        print("start-up under X: too few frames seen (is another instance running?)", times)
        return 1
    c, m, ms = (statistics.median(times[n]) for n in ("client", "material", "material-software"))
    print(f"start-up to first frame under X, median of {runs}: client sign-in view (default settings) {c:.1f} ms; "
          f"bare Material window with one button {m:.1f} ms with Qt Quick's default back-end, {ms:.1f} ms with its "
          f"software back-end; client to the default reference {c / m:.2f} (goal at most 1.25), to the software one "
          f"{c / ms:.2f}")
    return 0


def main():
    args = sys.argv[1:]
    # --x11: on the X server of the environment (run under xvfb-run: Mesa's software OpenGL, where the client
    # picks Qt Quick's software back-end by itself), with the Material reference in both back-ends.
    x11 = "--x11" in args
    args = [a for a in args if a != "--x11"]
    build = args[0] if len(args) > 0 else os.path.join(os.path.dirname(__file__), "..", "build")
    runs = int(args[1]) if len(args) > 1 else 15
    client = os.path.join(build, "vantorix")
    bare = os.path.join(build, "bench", "bench_bare_window")
    home = tempfile.mkdtemp(prefix="vantorix-startup-")
    env = dict(os.environ)
    env.update({
        "QT_QPA_PLATFORM": "xcb" if x11 else "offscreen",
        "QT_LOGGING_RULES": "qt.scenegraph.time.renderloop=true",
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "XDG_DATA_HOME": os.path.join(home, "data"),
        "XDG_CACHE_HOME": os.path.join(home, "cache"),
        "VANTORIX_SERVICE_URL": "http://127.0.0.1:9",
    })
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("QT_QUICK_BACKEND", None)
    if x11:
        return x11_run(client, bare, env, runs)
    times = {"client": [], "bare": [], "material": []}
    commands = (("bare", [bare]), ("material", [bare, "material"]), ("client", [client]))
    # One unmeasured start each first, so that all find the libraries in the page cache.
    for _, command in commands:
        first_frame_ms(command, env)
    for _ in range(runs):
        for name, command in commands:
            t = first_frame_ms(command, env)
            if t is not None:
                times[name].append(t)
    if len(times["client"]) < runs // 2 or len(times["bare"]) < runs // 2:
        print("start-up: too few frames seen (is another instance running?)", times)
        return 1
    c = statistics.median(times["client"])
    b = statistics.median(times["bare"])
    print(f"start-up to first frame, median of {len(times['client'])}/{len(times['bare'])} runs: "
          f"client sign-in view {c:.1f} ms (min {min(times['client']):.1f}, max {max(times['client']):.1f}), "
          f"bare Qt Quick window {b:.1f} ms (min {min(times['bare']):.1f}, max {max(times['bare']):.1f}); "
          f"ratio {c / b:.2f} (goal at most 1.50)")
    m = statistics.median(times["material"])
    print(f"  reference: bare Material-style window with one button {m:.1f} ms, ratio to the bare window "
          f"{m / b:.2f}; client to that {c / m:.2f} (goal at most 1.25)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
