"""The journeys of a user through the real program. Each is one CTest test:
    journeys.py <journey> [--light]
Screenshots and logs go to E2E_ARTIFACTS/<journey>/ (printed at the start)."""
import json
import os
import sys
import time
import traceback

from harness import ACCOUNT_PASSWORD, JourneyFailed, World, wait_until


def check(condition, what):
    if not condition:
        raise JourneyFailed(what)


def sign_in(w, user="demo", password=ACCOUNT_PASSWORD):
    w.wait_for("Log In", "push button")
    fields = [n for n in w.nodes() if n[0] == "text"]
    w.fill(fields[0], user)
    w.fill(w.wait_for("", "password text"), password)
    w.key("Return")
    w.wait_for("Sign out", timeout=60)


def sign_out(w):
    w.click(w.wait_for("Sign out"))
    w.click(w.wait_for("Yes", "push button"))
    w.wait_for("Log In", "push button")


# ---- 1. fresh start -------------------------------------------------------------------------------
def fresh_start(w):
    w.start()
    w.start_app()
    w.wait_for("Log In", "push button")
    check(w.find("Sign Up", "push button"), "the sign-in form offers signing up")
    w.shot("sign-in-form")

    # A second start hands over to the first and exits 0; the first keeps running with its window.
    check(w.run_second_start() == 0, "a second start exits 0")
    time.sleep(1)
    check(w.app.poll() is None, "the first instance keeps running")
    check(w.app_log().count("Local command server listening") >= 1, "the first instance listens")
    w.shot("after-second-start")
    w.stop_app()

    # Started minimised: no window until a second start asks the first to show itself.
    w.start_app("--start-minimized", wait_window=False)
    wait_until("the minimised instance to listen", lambda: "Local command server listening" in w.app_log())
    time.sleep(2)
    check("Main window visible: true" not in w.app_log(), "a minimised start shows no window")
    w.shot("minimized-no-window")
    check(w.run_second_start() == 0, "a second start exits 0")
    wait_until("the window after the second start", lambda: "Main window visible: true" in w.app_log())
    w.accessible_app()
    w.wait_for("Log In", "push button")
    w.shot("shown-by-second-start")


def explore(w):
    w.start()
    w.start_app()
    sign_in(w)
    time.sleep(4)
    w.shot("signed-in")
    with open(os.path.join(w.artifacts, "tree.txt"), "w") as f:
        for n in w.nodes():
            f.write("%s | %s | %d,%d %dx%d\n" % n[:6])


JOURNEYS = {
    "explore": explore,
    "fresh_start": fresh_start,
}


def main():
    journey = sys.argv[1]
    artifacts = os.environ.get("E2E_ARTIFACTS", os.path.join(os.getcwd(), "test-artifacts", "e2e"))
    name = journey + ("_light" if "--light" in sys.argv else "")
    w = World(name, artifacts)
    if "--light" in sys.argv:
        w.env["QT_QUICK_CONTROLS_MATERIAL_THEME"] = "Light"
    ok = False
    try:
        JOURNEYS[journey](w)
        w.audit_secrets()
        ok = True
    except Exception:
        traceback.print_exc()
        try:
            w.shot("failure")
        except Exception:
            pass
    finally:
        w.close()
    print("journey %s: %s" % (name, "passed" if ok else "FAILED"), flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
