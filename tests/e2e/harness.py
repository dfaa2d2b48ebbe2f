"""The end-to-end harness: one journey's world (folders, demo service, fake notification daemon, fake Remote
Desktop client, headless Chromium behind the desktop's URL handler) and the means to drive the real program
(accessibility tree for finding controls, xdotool for the mouse and the keyboard, screenshots).

The program is driven only from outside, as a user would: nothing in it knows it is being tested.
"""
import json
import math
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

import pyatspi

import tray_host
from cdp import Chromium

APP = os.environ["E2E_APP"]
DEMO = os.environ["E2E_DEMO_SERVICE"]
DAEMON = os.environ["E2E_FAKE_DAEMON"]
HERE = os.path.dirname(os.path.abspath(__file__))
ACCOUNT_PASSWORD = "Demo-Pass1!"
GENEROUS = 40.0
RDP_DESKTOP_COLOUR = "#2e7d32"


class JourneyFailed(AssertionError):
    pass


def check(condition, what):
    if not condition:
        raise JourneyFailed(what)


def wait_until(what, predicate, timeout=GENEROUS, step=0.2):
    """Polls until predicate() returns something true; fails with what otherwise."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise JourneyFailed("timed out waiting for: " + what)
        time.sleep(step)


def _children(pid):
    try:
        return [int(c) for c in open("/proc/%d/task/%d/children" % (pid, pid)).read().split()]
    except OSError:
        return []


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class World:
    def __init__(self, journey, artifacts_root):
        self.journey = journey
        self.root = tempfile.mkdtemp(prefix="vantorix-e2e-")
        self.home = self._dir("home")
        self.tmp = self._dir("tmp")
        self.config = self._dir("home/.config")
        self.data = self._dir("home/.local/share")
        self.records = self._dir("records")
        self.artifacts = os.path.join(artifacts_root, journey)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        print("screenshots and logs of this journey:", self.artifacts, flush=True)
        self.shot_index = 0
        self.processes = []
        self.app = None
        self.app_runs = 0
        self.secrets = {ACCOUNT_PASSWORD}
        self.seen_commands = {}
        self.window_size = None  # (w, h) to give the window once it shows
        self.env = self._environment()

    def _dir(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def _environment(self):
        env = dict(os.environ)
        for key in ("VANTORIX_SERVICE_URL", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"):
            env.pop(key, None)
        env.update({
            "HOME": self.home, "TMPDIR": self.tmp, "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data, "XDG_CACHE_HOME": self._dir("home/.cache"),
            "XDG_RUNTIME_DIR": self._dir("runtime"),
            "VANTORIX_KEY_STORE": "file",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_LOGGING_RULES": "vantorix.*=true",
        })
        os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
        return env

    # ---- the world around the program -------------------------------------------------------------
    def start(self, time_scale=60, demo_args=(), fake_rdp_client=True):
        self.notifications_file = os.path.join(self.records, "notifications.jsonl")
        self._spawn([DAEMON, self.notifications_file], "fake-daemon.log")
        demo_log = open(os.path.join(self.artifacts, "demo-service.log"), "w")
        demo = subprocess.Popen([DEMO, "--port", "0", "--test-controls", "--time-scale", str(time_scale), *demo_args],
                                stdout=subprocess.PIPE, stderr=demo_log, env=self.env, text=True)
        self.processes.append(demo)
        self.service = demo.stdout.readline().strip()
        if not self.service.startswith("http://"):
            raise JourneyFailed("the demo service did not start")
        # Keep reading its output so that it never blocks on a full pipe.
        subprocess.Popen(["cat"], stdin=demo.stdout, stdout=demo_log)
        self.env["VANTORIX_SERVICE_URL"] = self.service
        self._install_browser()
        self.rdp_record = os.path.join(self.records, "rdp.jsonl")  # stays empty without the stand-in
        if fake_rdp_client:
            self._install_rdp_client()
        print("demo service:", self.service, flush=True)

    def start_tray_host(self):
        """A system tray on the session bus, started before the program (Qt looks for one once)."""
        self.tray_record = os.path.join(self.records, "tray-items.jsonl")
        log = os.path.join(self.artifacts, "tray-host.log")
        self._spawn([sys.executable, os.path.join(HERE, "tray_host.py"), self.tray_record], "tray-host.log")
        wait_until("the tray host", lambda: "tray host ready" in open(log).read())

    def tray_menu(self, label):
        """Presses an entry of the program's tray menu, as the desktop's tray does (com.canonical.dbusmenu)."""
        bus, service, menu, entries = self.tray()
        found = [e for e in entries if e[0] == label]
        if not found:
            raise JourneyFailed("the tray menu has no '%s': %s" % (label, sorted(e[0] for e in entries)))
        tray_host.press(bus, service, menu, found[0][2])
        return sorted(e[0] for e in entries)

    def tray(self):
        """The program's tray menu as (bus, service, menu path, entries): see tray_host.menu_layout."""
        from gi.repository import Gio
        item = wait_until("the tray icon", lambda: self._records(self.tray_record))[-1]
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        menu, entries = tray_host.menu_layout(bus, item["service"], item["path"])
        return bus, item["service"], menu, entries

    def _spawn(self, argv, log_name, env=None):
        log = open(os.path.join(self.artifacts, log_name), "w")
        p = subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT, env=env or self.env)
        self.processes.append(p)
        return p

    def _install_browser(self):
        self.browser_port = free_port()
        self.browser_record = os.path.join(self.records, "opened-urls.txt")
        self._spawn(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--remote-debugging-port=%d" % self.browser_port,
                     "--user-data-dir=" + self._dir("chromium"), "about:blank"], "chromium.log")
        handler = os.path.join(self.root, "e2e-browser")
        with open(handler, "w") as f:
            f.write("#!/bin/sh\n"
                    "printf '%%s\\n' \"$1\" >> '%s'\n"
                    "exec /usr/bin/python3 '%s/cdp.py' open %d \"$1\"\n"
                    % (self.browser_record, HERE, self.browser_port))
        os.chmod(handler, 0o755)
        apps = self._dir("home/.local/share/applications")
        with open(os.path.join(apps, "e2e-browser.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=E2E browser\nExec=%s %%u\n"
                    "MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;\n" % handler)
        with open(os.path.join(self.config, "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/http=e2e-browser.desktop\n"
                    "x-scheme-handler/https=e2e-browser.desktop\ntext/html=e2e-browser.desktop\n")
        self.env["BROWSER"] = handler
        self.chromium = Chromium(self.browser_port)
        wait_until("Chromium's DevTools endpoint", self.chromium.ready)

    def _install_rdp_client(self):
        client = os.path.join(self.root, "fake-rdp-client")
        with open(client, "w") as f:
            f.write("#!/usr/bin/python3\n"
                    "import json, os, sys\n"
                    "conn = ''\n"
                    "if len(sys.argv) > 1 and os.path.exists(sys.argv[1]):\n"
                    "    conn = open(sys.argv[1]).read()\n"
                    "line = {'argv': sys.argv[1:], 'stdin': sys.stdin.read(), 'file': conn,\n"
                    "        'environ': dict(os.environ)}\n"
                    "with open(%r, 'a') as f:\n"
                    "    f.write(json.dumps(line) + '\\n')\n" % self.rdp_record)
        os.chmod(client, 0o755)
        self.env["VANTORIX_RDP_CLIENT"] = client

    def start_rdp_server(self):
        """A real Remote Desktop server: FreeRDP's shadow server sharing a display of its own (a picture on
        a green background), with NLA against a SAM file that the demo service writes when a computer's
        password is set. Returns the demo service's arguments that point every computer to it."""
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24", "-noreset",
                                 "-nolisten", "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                stderr=open(os.path.join(self.artifacts, "rdp-display.log"), "w"))
        self.processes.append(xvfb)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                raise JourneyFailed("the Remote Desktop server's X server did not start")
            number += chunk
        os.close(read_end)
        shared = dict(self.env, DISPLAY=":" + number.decode().strip(), HOME=self._dir("rdp-server-home"),
                      XDG_CONFIG_HOME=self._dir("rdp-server-home/.config"), WLOG_LEVEL="DEBUG")
        picture = os.path.join(self.root, "shared-desktop.png")
        subprocess.run(["convert", "-size", "800x600", "xc:" + RDP_DESKTOP_COLOUR, "-fill", "white", "-pointsize", "40",
                        "-font", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                        "-gravity", "center", "-annotate", "0", "The shared desktop\nof the Remote Desktop server",
                        picture], check=True)
        # ImageMagick's display exits with 1 after putting a picture on the root window: look at the root.
        subprocess.run(["display", "-window", "root", picture], env=shared, timeout=30)
        probe = os.path.join(self.root, "shared-probe.png")
        subprocess.run(["import", "-window", "root", "-crop", "1x1+5+5", probe], check=True, env=shared)
        if not subprocess.run(["convert", probe, "-format", "%[hex:p{0,0}]", "info:"], capture_output=True,
                              text=True).stdout.upper().startswith(RDP_DESKTOP_COLOUR[1:].upper()):
            raise JourneyFailed("the shared desktop's picture is not on the server's display")
        self.rdp_sam = os.path.join(self.root, "rdp.sam")
        open(self.rdp_sam, "w").close()
        self.rdp_port = free_port()
        self.rdp_server_log = os.path.join(self.artifacts, "rdp-server.log")
        self._spawn(["freerdp-shadow-cli", "/port:%d" % self.rdp_port, "/bind-address:127.0.0.1", "/sec:nla",
                     "/sam-file:" + self.rdp_sam], os.path.basename(self.rdp_server_log), env=shared)

        def listening():
            with socket.socket() as s:
                return s.connect_ex(("127.0.0.1", self.rdp_port)) == 0
        wait_until("the Remote Desktop server to listen", listening)
        print("Remote Desktop server: 127.0.0.1:%d on display %s" % (self.rdp_port, shared["DISPLAY"]), flush=True)
        return ["--rdp-address", "127.0.0.1:%d" % self.rdp_port, "--rdp-sam-file", self.rdp_sam]

    def rdp_server_log_text(self):
        with open(self.rdp_server_log, errors="replace") as f:
            return f.read()

    def rdp_clients(self):
        """The process ids of the Remote Desktop clients the program started."""
        found = []
        for pid in _children(self.app.pid) if self.app else []:
            try:
                if open("/proc/%d/comm" % pid).read().strip() == "xfreerdp":
                    found.append(pid)
            except OSError:
                pass
        return found

    # ---- the demo service's test controls ---------------------------------------------------------
    def control(self, path, method="POST"):
        req = urllib.request.Request(self.service + "/__test__/" + path, method=method, data=b"" if method == "POST" else None)
        with urllib.request.urlopen(req, timeout=10) as r:
            body = r.read().decode()
        return json.loads(body) if body.strip().startswith(("[", "{")) else body

    def requests(self):
        return [r["path"] for r in self.control("requests", "GET")]

    def outbox(self):
        return self.control("outbox", "GET")

    # ---- the program ------------------------------------------------------------------------------
    def poll_every(self, seconds):
        """Sets the program's refresh interval (10 to the power refreshRate milliseconds) before it starts."""
        with open(os.path.join(self._dir("home/.config/vantorix"), "vantorix.conf"), "w") as f:
            f.write("[General]\nrefreshRate=%.4f\n" % math.log10(seconds * 1000))

    def start_app(self, *args, wait_window=True):
        self.app_runs += 1
        self.app_log_path = os.path.join(self.artifacts, "app-%d.log" % self.app_runs)
        self.app = self._spawn([APP, *args], os.path.basename(self.app_log_path))
        if wait_window:
            wait_until("the main window", self._window_shown)
            self.fit_window()
            self.accessible_app()
        return self.app

    def _window_shown(self):
        if self.app.poll() is not None:
            raise JourneyFailed("the program exited with %s before showing its window; its log:\n%s"
                                % (self.app.returncode, self.app_log()[-3000:]))
        return "Main window visible: true" in self.app_log()

    def fit_window(self):
        """Places the window at the origin with the size the journey asks for (there is no window manager)."""
        if not self.window_size:
            return
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(self.app.pid)],
                               capture_output=True, text=True, env=self.env, timeout=30).stdout.split()
        for window in found:
            self.xdo("windowmove", window, 0, 0)
            self.xdo("windowsize", window, *self.window_size)
        time.sleep(1)

    def app_log(self):
        with open(self.app_log_path, errors="replace") as f:
            return f.read()

    def run_second_start(self, *args):
        log = os.path.join(self.artifacts, "second-start-%d.log" % self.app_runs)
        with open(log, "w") as f:
            return subprocess.run([APP, *args], stdout=f, stderr=subprocess.STDOUT, env=self.env, timeout=60).returncode

    def stop_app(self):
        if self.app and self.app.poll() is None:
            self.record_child_commands()
            for pid in self.rdp_clients():  # the sessions end with the program
                os.kill(pid, signal.SIGTERM)
            self.app.send_signal(signal.SIGTERM)
            try:
                self.app.wait(15)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait(15)
        self.app = None

    def record_child_commands(self):
        """Keeps the arguments and environment of the program and of every process it started."""
        if not self.app or self.app.poll() is not None:
            return
        pids = [self.app.pid]
        for pid in pids:
            pids.extend(_children(pid))
            for name in ("cmdline", "environ"):
                try:
                    self.seen_commands["%d/%s" % (pid, name)] = open("/proc/%d/%s" % (pid, name), "rb").read()
                except OSError:
                    pass

    # ---- finding controls through the accessibility tree ------------------------------------------
    def accessible_app(self):
        def find():
            desktop = pyatspi.Registry.getDesktop(0)
            for a in desktop:
                if a is not None and a.name == "vantorix" and a.get_process_id() == self.app.pid:
                    return a
            return None
        return wait_until("the program on the accessibility bus", find)

    def nodes(self):
        """Every accessible of the program that is on screen: (role, name, x, y, w, h, accessible)."""
        result = []

        def walk(a):
            for child in a:
                if child is None:
                    continue
                ext = None
                for attempt in range(2):
                    try:
                        states = child.getState()
                        ext = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                        break
                    except Exception:
                        # An item that was hidden when the bus first saw it is cached without its
                        # component interface: forget what is cached about it and ask again.
                        try:
                            child.clear_cache()
                        except Exception:
                            break
                try:
                    if ext is not None and ext.width > 0 and ext.height > 0 and states.contains(pyatspi.STATE_VISIBLE):
                        result.append((child.getRoleName(), child.name or "", ext.x, ext.y, ext.width, ext.height,
                                       child))
                    walk(child)
                except Exception:
                    # The item went away while the tree was read (a card destroyed by scrolling, a popup
                    # closed): it is simply not there any more.
                    continue
        app = self.accessible_app()
        # Names and states change under a cached tree (a status label hidden, a text replaced): read them fresh.
        try:
            app.clear_cache()
        except Exception:
            pass
        walk(app)
        return result

    @staticmethod
    def text_of(node):
        """The text a text field holds (its accessible name is empty); never read for password fields."""
        if node[0] != "text":
            return node[1]
        try:
            return node[6].queryText().getText(0, -1)
        except Exception:
            return ""

    def find(self, name, role=None, exact=True, index=0):
        hits = [n for n in self.nodes()
                if (n[1] == name if exact else name in n[1]) and (role is None or n[0] == role)
                and self._on_screen(n)]
        return hits[index] if len(hits) > index else None

    def _on_screen(self, n):
        return n[2] + n[4] > 0 and n[3] + n[5] > 0 and n[2] < 4000 and n[3] < 4000

    def wait_node(self, what, predicate, index=0, timeout=GENEROUS):
        """The index-th node that satisfies the predicate, waited for: one read of the tree can miss part of
        the page while it is being rebuilt."""
        return wait_until(what, lambda: [n for n in self.nodes() if predicate(n)][index:index + 1], timeout)[0]

    def wait_for(self, name, role=None, exact=True, timeout=GENEROUS, index=0):
        return wait_until("%s '%s'" % (role or "control", name),
                          lambda: self.find(name, role, exact, index), timeout)

    def gone(self, name, role=None, timeout=GENEROUS):
        wait_until("'%s' to go" % name, lambda: self.find(name, role) is None, timeout)

    def texts(self):
        return [n[1] for n in self.nodes() if n[1]]

    def shows(self, text):
        return any(text in t for t in self.texts())

    def wait_text(self, text, timeout=GENEROUS):
        return wait_until("the text '%s' on screen" % text, lambda: self.shows(text), timeout)

    # ---- mouse and keyboard -----------------------------------------------------------------------
    def xdo(self, *args):
        if args and args[0] == "mousemove":
            self._pointer = None  # moved by hand: click_at moves it again
        subprocess.run(["xdotool", *map(str, args)], check=True, env=self.env)

    def click_at(self, x, y, button=1):
        # "mousemove --sync" waits for the pointer to move: not when it is already there.
        if (int(x), int(y)) != getattr(self, "_pointer", None):
            self.xdo("mousemove", "--sync", int(x), int(y))
            self._pointer = (int(x), int(y))
            time.sleep(0.1)
        self.uncover(x, y)
        self.xdo("click", button)
        time.sleep(0.3)

    def uncover(self, x, y):
        """Closes an in-app notice that lies over the point, as a user would before clicking what is under
        it: notices come at any moment (the credit guard, machine events), and the slower the machine, the
        likelier one is up when a click comes."""
        def over(n, px, py):
            return n[2] <= px < n[2] + n[4] and n[3] <= py < n[3] + n[5]

        def notice_over(nodes):
            # A notice is a panel named by its text that holds a "Close notice" button.
            closes = [n for n in nodes if n[0] == "push button" and n[1] == "Close notice"]
            for n in nodes:
                if n[0] == "panel" and n[1] and over(n, x, y):
                    inside = [c for c in closes if over(n, c[2] + c[4] / 2, c[3] + c[5] / 2)]
                    if inside:
                        return n, inside[0]
            return None, None

        for _ in range(3):
            notice, close = notice_over(self.nodes())
            if notice is None:
                return
            if over(close, x, y):
                return  # the click is meant for the notice's own close button
            self.xdo("mousemove", "--sync", int(close[2] + close[4] / 2), int(close[3] + close[5] / 2))
            self.xdo("click", 1)
            # This notice, not every one: another may slide down into its place.
            wait_until("the notice '%s' to go" % notice[1][:40],
                       lambda: notice[:6] not in [n[:6] for n in self.nodes()])
            time.sleep(0.3)  # its closing animation
            self.xdo("mousemove", "--sync", int(x), int(y))
            self._pointer = (int(x), int(y))
            time.sleep(0.1)

    def click(self, node):
        _, _, x, y, w, h, _ = node
        self.click_at(x + w / 2, y + h / 2)

    def wheel(self, steps, down=True, settle=0.3):
        """Turns the mouse wheel over the middle of the window: the page under it scrolls."""
        if getattr(self, "_frame", (None,))[0] != self.app.pid:
            self._frame = (self.app.pid, self.find("", "frame"))
        frame = self._frame[1]
        self.xdo("mousemove", int(frame[2] + frame[4] * 0.6), int(frame[3] + frame[5] * 0.5))
        self.xdo("click", "--repeat", steps, "--delay", 40, 5 if down else 4)
        time.sleep(settle)

    def type(self, text):
        self.xdo("type", "--delay", 20, text)

    def key(self, *keys):
        self.xdo("key", "--delay", 60, *keys)
        time.sleep(0.2)

    def fill(self, node, text):
        """Clicks into a field, selects what it holds and types over it."""
        self.click(node)
        self.key("ctrl+a")
        self.type(text)

    def field_after(self, label, roles=("text", "password text")):
        """The first text field after the label with the given text, in the order of the tree."""
        nodes = self.nodes()
        for i, n in enumerate(nodes):
            if n[1] == label:
                fields = [m for m in nodes[i + 1:] if m[0] in roles]
                if fields:
                    return fields[0]
        raise JourneyFailed("no field after the label '%s'" % label)

    def dump(self, name):
        with open(os.path.join(self.artifacts, "tree-%s.txt" % name), "w") as f:
            for n in self.nodes():
                f.write("%s | %s | %d,%d %dx%d\n" % n[:6])

    # ---- evidence ---------------------------------------------------------------------------------
    def shot(self, name):
        self.shot_index += 1
        path = os.path.join(self.artifacts, "%02d-%s.png" % (self.shot_index, name))
        time.sleep(0.4)  # let the last frame land
        subprocess.run(["import", "-window", "root", path], check=True, env=self.env)
        return path

    def pixel(self, x, y):
        """The colour (r, g, b) of the screen at x, y."""
        path = os.path.join(self.root, "probe.png")
        subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), path], check=True, env=self.env)
        out = subprocess.run(["convert", path, "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]", "info:"],
                             check=True, capture_output=True, text=True).stdout
        return tuple(int(v) for v in out.split(","))

    @staticmethod
    def _records(path, parse=json.loads):
        """The non-empty lines of a record file the stand-ins write, parsed; none while it does not exist."""
        try:
            with open(path) as f:
                return [parse(line.strip()) for line in f if line.strip()]
        except FileNotFoundError:
            return []

    def notifications(self):
        return self._records(self.notifications_file)

    def rdp_calls(self):
        return self._records(self.rdp_record)

    def opened_urls(self):
        return self._records(self.browser_record, parse=str)

    def audit_secrets(self):
        """No password in the settings store, the log output, the temporary folder, or the arguments and
        environment of the program and of the processes it started."""
        self.record_child_commands()
        places = []
        # The program's own places; the demo service's and the browser's logs are the other side's, and the
        # fake Remote Desktop client's record holds the standard input it was given on purpose (its
        # arguments, environment and connection file are searched below).
        for folder in (self.config, self.data, self.tmp, self.artifacts, self.records):
            for base, _, files in os.walk(folder):
                for name in files:
                    if name.endswith((".png", ".txt")) or name.startswith(("demo-service", "chromium", "rdp.")):
                        continue
                    path = os.path.join(base, name)
                    try:
                        places.append((path, open(path, "rb").read()))
                    except OSError:
                        pass
        places.extend(("/proc/" + k, v) for k, v in self.seen_commands.items())
        for call in self.rdp_calls():
            places.append(("Remote Desktop client arguments", json.dumps(call["argv"]).encode()))
            places.append(("Remote Desktop client environment", json.dumps(call["environ"]).encode()))
            places.append(("Remote Desktop connection file", call["file"].encode()))
        hits = []
        for secret in self.secrets:
            for enc in {secret.encode(), secret.encode("utf-16-le"),
                        urllib.parse.quote(secret, safe="").encode(), secret.encode().hex().encode()}:
                hits.extend("%s holds a password" % p for p, data in places if enc in data)
        if hits:
            raise JourneyFailed("secrets found:\n  " + "\n  ".join(sorted(set(hits))))
        print("secrets audit: %d places searched for %d passwords, no hit" % (len(places), len(self.secrets)))

    def close(self):
        self.stop_app()
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
        for p in self.processes:
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()
        if os.environ.get("E2E_KEEP") != "1":
            shutil.rmtree(self.root, ignore_errors=True)
