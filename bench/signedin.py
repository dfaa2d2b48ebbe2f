#!/usr/bin/env python3
"""Signed-in benchmarks of the real program against the demo service.

The program starts on a settings store that holds a remembered sign-in (written by bench_seed_login,
password protected with the key file), so it signs in by itself. Between the program and the demo service
sits a small recording proxy: it timestamps every request and reply and counts the requests in flight, so
the figures come from outside the program without changing it.

    signedin.py <build-dir> signin [--machines 990] [--runs 3]
        process start to the first frame after the first list reply, and the longest gap between frames from
        the sign-in request to the first preview tick (the cards in view exist by then: the running ones ask
        for their previews)
    signedin.py <build-dir> idle [--machines 40] [--refresh 7] [--seconds 60]
        CPU % of one core and peak memory over the window, after the sign-in has settled
    signedin.py <build-dir> soak [--machines 190] [--refresh 3] [--seconds 1800] [--warmup 120]
        resident memory every 10 s after the warm-up, requests in flight and open connections

The demo account has 10 computers of its own; --machines adds that many. Run it through signedin.sh
(private network namespace, own X server and session bus).
"""
import argparse
import http.client
import http.server
import os
import re
import shutil
import socketserver
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PASSWORD = "Demo-Pass1!"
TICKS = os.sysconf("SC_CLK_TCK")


class Recorder:
    """Requests and replies seen by the proxy, with the number in flight."""

    def __init__(self):
        self.lock = threading.Lock()
        self.events = []  # (monotonic time, "request"|"reply", action)
        self.in_flight = 0
        self.max_in_flight = 0
        self.window_max = 0  # largest in-flight count since the last take_window_max()

    def begin(self, action):
        with self.lock:
            self.events.append((time.monotonic(), "request", action))
            self.in_flight += 1
            self.max_in_flight = max(self.max_in_flight, self.in_flight)
            self.window_max = max(self.window_max, self.in_flight)

    def end(self, action):
        with self.lock:
            self.events.append((time.monotonic(), "reply", action))
            self.in_flight -= 1

    def take_window_max(self):
        with self.lock:
            value, self.window_max = self.window_max, self.in_flight
            return value

    def times(self, kind, action):
        with self.lock:
            return [t for t, k, a in self.events if k == kind and a == action]


def make_proxy(upstream_port, recorder):
    local = threading.local()

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def _forward(self):
            match = re.search(r"[?&]action=([A-Za-z_]+)", self.path)
            action = match.group(1) if match else self.path.split("?")[0]
            length = int(self.headers.get("Content-Length") or 0)
            body = self.rfile.read(length) if length else None
            headers = {k: v for k, v in self.headers.items()
                       if k.lower() not in ("host", "connection", "keep-alive", "proxy-connection")}
            recorder.begin(action)
            try:
                for attempt in (1, 2):
                    conn = getattr(local, "conn", None)
                    if conn is None:
                        conn = local.conn = http.client.HTTPConnection("127.0.0.1", upstream_port, timeout=120)
                    try:
                        conn.request(self.command, self.path, body=body, headers=headers)
                        reply = conn.getresponse()
                        data = reply.read()
                        break
                    except (http.client.HTTPException, OSError):
                        local.conn = None
                        if attempt == 2:
                            raise
                self.send_response(reply.status)
                for k, v in reply.getheaders():
                    if k.lower() not in ("connection", "keep-alive", "transfer-encoding", "content-length"):
                        self.send_header(k, v)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)
                self.wfile.flush()
            finally:
                recorder.end(action)

        do_GET = do_POST = do_PUT = do_DELETE = _forward

    class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
        daemon_threads = True

    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class World:
    def __init__(self, build, machines, refresh, previews=True, frame_log=False):
        self.build = build
        self.root = tempfile.mkdtemp(prefix="vantorix-signedin-")
        home = os.path.join(self.root, "home")
        env = dict(os.environ)
        for key in ("QT_QPA_PLATFORM", "VANTORIX_SERVICE_URL", "QT_LOGGING_RULES", "QT_MESSAGE_PATTERN"):
            env.pop(key, None)
        env.update({
            "HOME": home, "TMPDIR": self._dir("tmp"), "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local/share"), "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": self._dir("runtime"), "VANTORIX_KEY_STORE": "file",
        })
        os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
        self.env = env
        self.processes = []
        demo = subprocess.Popen([os.path.join(build, "demo-service", "vantorix-demo-service"), "--port", "0",
                                 "--machines", str(machines), "--seed", "1"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env, text=True)
        self.processes.append(demo)
        url = demo.stdout.readline().strip()
        if not url.startswith("http://"):
            raise SystemExit("the demo service did not start")
        self.recorder = Recorder()
        self.proxy = make_proxy(int(url.rsplit(":", 1)[1]), self.recorder)
        self.proxy_port = self.proxy.server_address[1]
        env["VANTORIX_SERVICE_URL"] = "http://127.0.0.1:%d" % self.proxy_port
        seed = subprocess.run([os.path.join(build, "bench", "bench_seed_login"), "demo", str(refresh),
                               "1" if previews else "0"], input=PASSWORD + "\n", env=env, text=True)
        if seed.returncode != 0:
            raise SystemExit("could not write the remembered sign-in")
        if frame_log:
            env["QT_LOGGING_RULES"] = "vantorix.*=true;qt.scenegraph.time.renderloop=true"
            env["QT_MESSAGE_PATTERN"] = "%{time process} %{category} %{message}"
            # The program logs every GUI-thread stall of 20 ms or more (a late 5 ms timer) with its own CPU time.
            env["VANTORIX_STALL_WATCH"] = os.environ.get("BENCH_STALL_MS", "20")
        self.app_log = os.path.join(self.root, "app.log")

    def _dir(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def start_app(self):
        self.app_started = time.monotonic()
        # BENCH_APP_WRAPPER runs the program under a tool (e.g. "heaptrack -o /tmp/soak"); the memory figures are
        # then the tool's, not the program's.
        wrapper = os.environ.get("BENCH_APP_WRAPPER", "").split()
        self.app = subprocess.Popen(wrapper + [os.path.join(self.build, "vantorix")], env=self.env,
                                    stdout=subprocess.DEVNULL, stderr=open(self.app_log, "w"))
        self.processes.append(self.app)
        return self.app

    def wait_for(self, what, predicate, timeout=120):
        end = time.monotonic() + timeout
        while not predicate():
            if time.monotonic() > end:
                raise SystemExit("timed out waiting for " + what)
            if self.app.poll() is not None:
                raise SystemExit("the program ended while waiting for " + what)
            time.sleep(0.05)

    def close(self):
        for p in reversed(self.processes):
            p.terminate()
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        self.proxy.shutdown()
        shutil.rmtree(self.root, ignore_errors=True)


def proc_stat(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def proc_status_kb(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def open_connections(port):
    """Established TCP connections to the proxy port (the namespace holds only this program's)."""
    count = 0
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            with open(table) as f:
                next(f)
                for line in f:
                    parts = line.split()
                    if parts[3] == "01" and int(parts[2].split(":")[1], 16) == port:
                        count += 1
        except FileNotFoundError:
            pass
    return count


def preview_burst(world, gap=1.0):
    """The preview requests of the first burst after the first list reply (consecutive ones under gap s apart)."""
    replies = world.recorder.times("reply", "list_user_vm_instances")
    if not replies:
        return []
    burst = []
    for t in world.recorder.times("request", "get_vm_screenshot"):
        if t < replies[0]:
            continue
        if burst and t - burst[-1] > gap:
            break
        burst.append(t)
    return burst


def settled(world, quiet=1.5, give_up=60):
    """True once the first list reply went out and its preview requests have been quiet for a while (or, with no
    preview requested, give_up seconds after the reply)."""
    replies = world.recorder.times("reply", "list_user_vm_instances")
    if not replies:
        return False
    burst = preview_burst(world)
    if not burst:
        return time.monotonic() - replies[0] > give_up
    return time.monotonic() - burst[-1] > quiet


FRAME_RE = re.compile(r"^\s*([\d.]+) qt\.scenegraph\.time\.renderloop .*frame rendered in (\d+)ms")
SOFTWARE_FRAME_RE = re.compile(r"^\s*([\d.]+) qt\.scenegraph\.time\.renderloop Frame rendered with '\w+' renderloop in (\d+)ms")
STALL_RE = re.compile(r"^\s*([\d.]+) vantorix\.host GUI thread stalled for (\d+) ms, (-?\d+) ms of its own CPU time")
FRAME_READY_RE = re.compile(r"^\s*([\d.]+) \S+ Signed-in frame complete")
GUI_GAP_RE = re.compile(r"^\s*([\d.]+) qt\.scenegraph\.time\.renderloop .*\[gui thread\] polishAndSync: start, "
                        r"elapsed since last call: (\d+) ms")


def run_signin(args):
    world = World(args.build, args.machines, 7, frame_log=True)
    try:
        world.start_app()
        world.wait_for("the first list reply and its previews", lambda: settled(world))
        rec = world.recorder
        t0 = world.app_started
        login = rec.times("request", "login_user")[0] - t0
        login_reply = rec.times("reply", "login_user")[0] - t0
        list_req = rec.times("request", "list_user_vm_instances")[0] - t0
        list_rep = rec.times("reply", "list_user_vm_instances")[0] - t0
        shots = [t - t0 for t in preview_burst(world)]
        last_shot = shots[-1] if shots else list_rep
        time.sleep(0.5)
        with open(world.app_log, errors="replace") as f:
            lines = f.readlines()
        # Frames of either render loop: Qt Quick's threaded OpenGL loop, or the software back-end's.
        frames = [float(m.group(1)) for m in map(FRAME_RE.match, lines) if m]
        frames += [float(m.group(1)) for m in map(SOFTWARE_FRAME_RE.match, lines) if m]
        frames.sort()
        ready = next((float(m.group(1)) for m in map(FRAME_READY_RE.match, lines) if m), None)
        # The list is merged and the grid models updated on arrival; the first frame after both the list
        # reply and the signed-in frame's completion shows the cards in view.
        shown = next((t for t in frames if t >= max(list_rep, ready or 0)), None)
        end = last_shot
        # The OpenGL loop logs the GUI thread's time between two syncs; the stall watch logs any GUI-thread
        # task of 20 ms or more (logged as it ends), whichever loop draws.
        gaps = [(float(m.group(1)), int(m.group(2))) for m in map(GUI_GAP_RE.match, lines) if m]
        stalls = [(float(m.group(1)), int(m.group(2)), int(m.group(3))) for m in map(STALL_RE.match, lines) if m]
        window = [g for t, g in gaps if login_reply <= t <= end + 0.001]
        # A stall is logged as it ends: those that end after the sign-in reply.
        stall_window = [(g, c) for t, g, c in stalls if login_reply <= t <= end + 0.001]
        frame_gaps = [round((b - a) * 1000) for a, b in zip(frames, frames[1:]) if login_reply <= b <= end + 0.001]
        return {"login": login, "login_reply": login_reply, "list_request": list_req, "list_reply": list_rep,
                "previews": len(shots), "first_preview": shots[0] if shots else None, "shown": shown,
                "ready": ready, "max_gap": max(window) if window else None,
                "max_stall": max((g for g, _ in stall_window), default=0),
                "max_task": max((c for _, c in stall_window), default=0),
                "max_frame_gap": max(frame_gaps) if frame_gaps else None}
    finally:
        world.close()


def signin(args):
    results = [run_signin(args) for _ in range(args.runs)]
    for r in results:
        shown = "%.2f s" % r["shown"] if r["shown"] is not None else "no frame seen"
        ready = "%.2f s" % r["ready"] if r["ready"] is not None else "-"
        print(f"  run: sign-in request {r['login']:.2f} s, reply {r['login_reply']:.2f} s, list request "
              f"{r['list_request']:.2f} s, list reply sent {r['list_reply']:.2f} s, signed-in frame complete {ready}, "
              f"{r['previews']} preview requests from {r['first_preview'] or 0:.2f} s, first frame with the cards "
              f"{shown}; from the sign-in reply to the first preview tick: longest GUI-thread task {r['max_task']} ms of its "
              f"own CPU time (longest late timer {r['max_stall']} ms wall-clock, 0: none of 20 ms or more), longest gap between frames {r['max_frame_gap']} ms, OpenGL loop's "
              f"longest time between syncs {r['max_gap']} ms")
    shown = [r for r in results if r["shown"] is not None]
    if shown:
        stalls = [r["max_task"] for r in results]
        walls = [r["max_stall"] for r in results]
        print(f"sign-in to cards shown, {args.machines + 10} computers, median of {len(shown)}: sign-in reply to "
              f"the first frame with the cards {statistics.median((r['shown'] - r['login_reply']) * 1000 for r in shown):.0f} ms "
              f"(goal at most 300; list reply to that frame "
              f"{statistics.median((r['shown'] - r['list_reply']) * 1000 for r in shown):.0f} ms); longest GUI-thread task "
              f"from the sign-in reply to the first preview tick, its own CPU time: median {statistics.median(stalls)} ms, "
              f"worst {max(stalls)} ms (goal at most 100; wall-clock, waits for a processor included: median "
              f"{statistics.median(walls)} ms, worst {max(walls)} ms)")
    return 0


def idle(args):
    world = World(args.build, args.machines, args.refresh)
    try:
        app = world.start_app()
        world.wait_for("the first list reply and its previews", lambda: settled(world))
        time.sleep(5)
        requests_before = len(world.recorder.events)
        c0, t0 = proc_stat(app.pid), time.monotonic()
        time.sleep(args.seconds)
        c1, t1 = proc_stat(app.pid), time.monotonic()
        peak = proc_status_kb(app.pid, "VmHWM")
        rss = proc_status_kb(app.pid, "VmRSS")
        requests = (len(world.recorder.events) - requests_before) // 2
        print(f"idle signed in, {args.machines + 10} computers, previews on, {args.refresh:g} s polling, "
              f"{args.seconds:g} s: CPU {100.0 * (c1 - c0) / (t1 - t0):.2f} % of one core, peak memory "
              f"{peak / 1024:.1f} MB (resident now {rss / 1024:.1f} MB), {requests} requests, at most "
              f"{world.recorder.max_in_flight} in flight (goal at most 2 % and at most 150 MB)")
        return 0
    finally:
        world.close()


def soak(args):
    world = World(args.build, args.machines, args.refresh)
    try:
        app = world.start_app()
        world.wait_for("the first list reply and its previews", lambda: settled(world))
        print(f"soak: {args.machines + 10} computers, previews on, {args.refresh:g} s polling; warm-up "
              f"{args.warmup:g} s, then {args.seconds:g} s sampled every 10 s", flush=True)
        time.sleep(args.warmup)
        world.recorder.take_window_max()
        samples = []
        start = time.monotonic()
        while True:
            elapsed = time.monotonic() - start
            rss = proc_status_kb(app.pid, "VmRSS")
            sample = (elapsed, rss, world.recorder.in_flight, world.recorder.take_window_max(),
                      open_connections(world.proxy_port))
            samples.append(sample)
            print("  %6.0f s  RSS %7.1f MB  in flight now %d, most since last sample %d  open connections %d"
                  % (sample[0], sample[1] / 1024, sample[2], sample[3], sample[4]), flush=True)
            if elapsed >= args.seconds:
                break
            time.sleep(10 - (time.monotonic() - start) % 10)
        first, last = samples[0][1], samples[-1][1]
        polls = len(world.recorder.times("request", "list_user_vm_instances"))
        print(f"soak result: RSS {first / 1024:.1f} MB after warm-up, {last / 1024:.1f} MB at the end, growth "
              f"{(last - first) / 1024:+.2f} MB (range {min(s[1] for s in samples) / 1024:.1f}-"
              f"{max(s[1] for s in samples) / 1024:.1f} MB); requests in flight at most "
              f"{max(s[3] for s in samples)}, open connections at most {max(s[4] for s in samples)}; "
              f"{polls} list polls in all (goal: under 2 MB growth, at most the in-flight requests alive)")
        return 0
    finally:
        world.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("mode", choices=("signin", "idle", "soak"))
    parser.add_argument("--machines", type=int)
    parser.add_argument("--refresh", type=float)
    parser.add_argument("--seconds", type=float)
    parser.add_argument("--warmup", type=float, default=120)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    defaults = {"signin": (990, 7, 0), "idle": (40, 7, 60), "soak": (190, 3, 1800)}[args.mode]
    args.machines = defaults[0] if args.machines is None else args.machines
    args.refresh = defaults[1] if args.refresh is None else args.refresh
    args.seconds = defaults[2] if args.seconds is None else args.seconds
    return {"signin": signin, "idle": idle, "soak": soak}[args.mode](args)


if __name__ == "__main__":
    sys.exit(main())
