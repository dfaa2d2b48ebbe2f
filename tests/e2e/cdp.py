"""A small client of Chromium's DevTools protocol (standard library only): open a page in a new tab, list
the tabs, and evaluate script in a tab (to press a button the way a user's click would).

Run as a program ("cdp.py open <port> <url>") it is the desktop's web browser for the journeys."""
import base64
import json
import os
import socket
import struct
import sys
import urllib.parse
import urllib.request


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
        ws = _WebSocket(tab["webSocketDebuggerUrl"])
        try:
            ws.send(json.dumps({"id": 1, "method": "Runtime.evaluate",
                                "params": {"expression": expression, "returnByValue": True,
                                           "awaitPromise": True, "userGesture": True}}))
            while True:
                message = json.loads(ws.receive())
                if message.get("id") == 1:
                    result = message.get("result", {})
                    if "exceptionDetails" in result:
                        raise RuntimeError("page script failed: %s" % result["exceptionDetails"])
                    return result.get("result", {}).get("value")
        finally:
            ws.close()


class _WebSocket:
    """Just enough of RFC 6455 for the DevTools endpoint: text frames, client masking, no extensions."""

    def __init__(self, url):
        parsed = urllib.parse.urlparse(url)
        self.sock = socket.create_connection((parsed.hostname, parsed.port), timeout=20)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall(("GET %s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                           "Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n"
                           % (parsed.path, parsed.hostname, parsed.port, key)).encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise OSError("DevTools closed the connection during the handshake")
            head += chunk
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise OSError("DevTools refused the WebSocket: %r" % head[:80])

    def send(self, text):
        payload = text.encode()
        header = bytearray([0x81])
        n = len(payload)
        if n < 126:
            header.append(0x80 | n)
        elif n < 65536:
            header += bytes([0x80 | 126]) + struct.pack(">H", n)
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", n)
        mask = os.urandom(4)
        self.sock.sendall(bytes(header) + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def _exact(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise OSError("DevTools closed the connection")
            data += chunk
        return data

    def receive(self):
        message = b""
        while True:
            b0, b1 = self._exact(2)
            n = b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exact(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exact(8))[0]
            payload = self._exact(n)
            opcode = b0 & 0x0F
            if opcode in (0x1, 0x0):
                message += payload
                if b0 & 0x80:
                    return message.decode()
            elif opcode == 0x8:
                raise OSError("DevTools closed the WebSocket")

    def close(self):
        self.sock.close()


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "open":
        Chromium(int(sys.argv[2])).open(sys.argv[3])
    else:
        sys.exit("usage: cdp.py open <port> <url>")
