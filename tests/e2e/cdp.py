"""A small client of Chromium's DevTools protocol: open a page in a new tab, list
the tabs, and evaluate script in a tab (to press a button the way a user's click would).

Run as a program ("cdp.py open <port> <url>") it is the desktop's web browser for the journeys."""
import json
import sys
import urllib.parse
import urllib.request

import websocket


class Chromium:
    def __init__(self, port):
        self.port = port
        self.base = "http://127.0.0.1:%d" % port

    def _get(self, path, method="GET"):
        req = urllib.request.Request(self.base + path, method=method)
        with urllib.request.urlopen(req, timeout=10) as r:
            return json.loads(r.read().decode())

    def ready(self):
        try:
            return self._get("/json/version")
        except OSError:
            return None

    def open(self, url):
        return self._get("/json/new?" + urllib.parse.quote(url, safe=""), method="PUT")

    def tabs(self):
        return [t for t in self._get("/json/list") if t.get("type") == "page"]

    def tab(self, url_part):
        for t in self.tabs():
            if url_part in t.get("url", ""):
                return t
        return None

    def evaluate(self, tab, expression):
        ws = websocket.create_connection(tab["webSocketDebuggerUrl"], timeout=20, suppress_origin=True)
        try:
            ws.send(json.dumps({"id": 1, "method": "Runtime.evaluate",
                                "params": {"expression": expression, "returnByValue": True,
                                           "awaitPromise": True, "userGesture": True}}))
            while True:
                message = json.loads(ws.recv())
                if message.get("id") == 1:
                    result = message.get("result", {})
                    if "exceptionDetails" in result:
                        raise RuntimeError("page script failed: %s" % result["exceptionDetails"])
                    return result.get("result", {}).get("value")
        finally:
            ws.close()


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "open":
        Chromium(int(sys.argv[2])).open(sys.argv[3])
    else:
        sys.exit("usage: cdp.py open <port> <url>")
