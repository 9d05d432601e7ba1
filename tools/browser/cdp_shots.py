#!/usr/bin/env python3
"""Screenshots of a page of buttons in a real browser, in each state a
visitor sees: at rest, under the mouse, held down, and reached with Tab.

    cdp_shots.py CHROMIUM PAGE.html OUT_PREFIX [SCALE]

Drives the browser through its DevTools protocol over a pipe (file
descriptors 3 and 4 of the browser), so nothing but the standard library is
needed. The pointer and the keyboard are real input events: the page's
:hover, :active and :focus-visible rules do the rest. Writes
OUT_PREFIX-normal.png, -hover.png, -active.png and -focus.png; SCALE is the
device pixel ratio the page is shown at (2 shows the @2x pictures). Prints
the address of every picture the page fetched, one a line, so a caller can
check which scale the browser chose.
"""
import base64
import json
import os
import subprocess
import sys
import tempfile


class Browser:
    def __init__(self, chromium, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def fds():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.proc = subprocess.Popen(
            [chromium, "--headless=new", "--remote-debugging-pipe", "--no-sandbox",
             "--disable-gpu", "--hide-scrollbars", "--no-first-run",
             "--user-data-dir=" + profile, "about:blank"],
            # 3 and 4 are kept open too: the child's copies are made there.
            pass_fds=(to_browser_r, from_browser_w, 3, 4), preexec_fn=fds,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def _read_message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            reply = self._read_message()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def wait_for(self, method):
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method:
                    return self.events.pop(i)
            self.events.append(self._read_message())

    def close(self):
        try:
            self.call("Browser.close")
        except Exception:
            pass
        self.proc.wait(timeout=20)


def main():
    chromium, page, prefix = sys.argv[1:4]
    scale = float(sys.argv[4]) if len(sys.argv) > 4 else 1.0
    with tempfile.TemporaryDirectory() as profile:
        b = Browser(chromium, profile)
        target = b.call("Target.createTarget", url="about:blank")["targetId"]
        s = b.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        b.call("Page.enable", s)
        # Requests are reported, so the caller can see which pictures came.
        b.call("Network.enable", s)
        b.call("Emulation.setDeviceMetricsOverride", s, width=760, height=130,
               deviceScaleFactor=scale, mobile=False)
        b.call("Page.navigate", s, url="file://" + os.path.abspath(page))
        b.wait_for("Page.loadEventFired")
        # The first button of the bar, where the pointer goes.
        box = b.call("Runtime.evaluate", s, returnByValue=True, expression=
                     "(() => { const r = document.querySelector('nav a').getBoundingClientRect();"
                     " return {x: r.x + r.width / 2, y: r.y + r.height / 2}; })()")["result"]["value"]

        def shot(name):
            data = b.call("Page.captureScreenshot", s, format="png")["data"]
            with open(f"{prefix}-{name}.png", "wb") as f:
                f.write(base64.b64decode(data))

        def mouse(kind, x, y, **extra):
            b.call("Input.dispatchMouseEvent", s, type=kind, x=x, y=y, **extra)

        shot("normal")
        mouse("mouseMoved", box["x"], box["y"])
        shot("hover")
        mouse("mousePressed", box["x"], box["y"], button="left", clickCount=1)
        shot("active")
        # Let go outside the button, so the link is not followed.
        mouse("mouseMoved", 5, 140, button="left")
        mouse("mouseReleased", 5, 140, button="left", clickCount=1)
        b.call("Runtime.evaluate", s, expression="document.activeElement.blur()")
        # Tab: the next button, reached with the keyboard.
        for _ in range(1):
            for kind in ("keyDown", "keyUp"):
                b.call("Input.dispatchKeyEvent", s, type=kind, key="Tab", code="Tab",
                       windowsVirtualKeyCode=9, nativeVirtualKeyCode=9)
        shot("focus")
        # Every state has been shown by now, so every picture it needs is in.
        for event in b.events:
            if event.get("method") == "Network.requestWillBeSent":
                print(event["params"]["request"]["url"])
        b.close()


if __name__ == "__main__":
    main()
