"""Journeys of the foresight features: the credit guard with its "Buy credits" action, and the tray menu's
quick actions with the running-time reminder's "Stop" action. The fake notification daemon presses the
notification buttons (InvokeAction); the tray stand-in reads the menu over D-Bus."""
import time
import urllib.parse
import urllib.request

from gi.repository import Gio, GLib

import tray_host
from harness import check, wait_until

BUS_NAME = "org.freedesktop.Notifications"


def press_notification_button(w, notification, key):
    """The user presses a button of a system notification (or the notification itself with "default")."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync(BUS_NAME, "/org/freedesktop/Notifications", BUS_NAME, "InvokeAction",
                  GLib.Variant("(us)", (notification["id"], key)), None, Gio.DBusCallFlags.NONE, 5000, None)


def notifications_with(w, text):
    return [n for n in w.notifications() if text in n["body"]]


def labels(entries):
    return [e[0] for e in entries]


def hours_left_line(w):
    return next((t for t in w.texts() if t.startswith("\u2248 ") and t.endswith(" left")), None)


def more_user_data_polls(w, count):
    """Waits for this many further user-data polls."""
    polls = lambda: len([r for r in w.requests() if "action=get_user_data" in r])
    before = polls()
    wait_until("%d more user-data polls" % count, lambda: polls() >= before + count, 30)


# ---- credit guard --------------------------------------------------------------------------------
def credit_guard(w):
    # The demo account has a few credits and two computers running: about 2.5 h left at sign-in. The
    # service's clock runs the balance down past the guard's threshold (2 h).
    from journeys import signed_in
    signed_in(w, 60, poll=4)  # the guard and the sidebar follow the polls
    line = wait_until("the hours-left line in the sidebar", lambda: hours_left_line(w))
    print("sidebar at sign-in:", line)
    w.shot("sidebar-hours-left")
    guard = "Credits for about "
    check(not notifications_with(w, guard), "no guard above the threshold")
    w.control("advance?minutes=25")
    wait_until("the line to follow the balance", lambda: hours_left_line(w) not in (None, line), 30)
    wait_until("the guard in the window", lambda: [t for t in w.texts() if t.startswith(guard)], 40)
    w.shot("guard-notification")
    system = wait_until("the guard's system notification", lambda: notifications_with(w, guard), 10)
    check(system[0]["actions"][2:] == ["buy-credits", "Buy credits"],
          "the system notification offers Buy credits: %r" % system[0]["actions"])
    print("guard:", system[0]["body"], system[0]["actions"])

    # Further polls while the balance keeps falling: the guard stays quiet.
    w.control("advance?minutes=10")
    more_user_data_polls(w, 2)
    check(len(notifications_with(w, guard)) == 1, "the guard spoke once: %d" % len(notifications_with(w, guard)))
    print("sidebar later:", hours_left_line(w))

    # "Buy credits" on the system notification opens the payments tab.
    press_notification_button(w, system[0], "buy-credits")
    w.wait_for("Payment History", "label", timeout=30)
    w.shot("payments-from-guard")


# ---- tray quick actions --------------------------------------------------------------------------
def tray_actions(w):
    from journeys import isolate, search, sign_in, wait_card
    w.start(time_scale=1)
    w.poll_every(4)  # the reminder follows the polls
    w.start_tray_host()
    w.start_app()
    _, _, _, entries = w.tray()
    check(labels(entries)[:2] == ["vantorix", ""], "signed out the menu starts as before: %r" % labels(entries))
    sign_in(w)

    # A stopped computer becomes a favourite with the card's star.
    isolate(w, "Design Station")
    w.click(wait_card(w, "Design Station")["favourite"])
    search(w, "")

    def listed():
        _, _, _, entries = w.tray()
        names = labels(entries)
        return entries if "\u2605 Design Station" in names and "\u2605 Office PC" in names else None
    entries = wait_until("the favourites in the tray menu", listed, 30)
    print("tray menu:", [(e[0], labels(e[3])) for e in entries])
    check(entries[1][0].startswith("Balance: ") and not entries[1][1], "a disabled balance line after the title")
    bus, service, _, _ = w.tray()
    path = w._records(w.tray_record)[-1]["path"]
    tip = bus.call_sync(service, path, "org.freedesktop.DBus.Properties", "Get",
                        GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", "ToolTip")), None,
                        Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
    print("tray tool tip:", tip[2:])
    check("Balance: " in " ".join(tip[2:]) and " left" in " ".join(tip[2:]),
          "the tool tip shows the balance and the hours left: %r" % (tip[2:],))
    names = labels(entries)
    check(names.index("\u2605 Design Station") < names.index("Build Server"), "favourites come first")
    design = entries[names.index("\u2605 Design Station")]
    check(labels(design[3]) == ["Start"], "a stopped favourite offers Start: %r" % labels(design[3]))
    office = entries[names.index("\u2605 Office PC")]
    check(labels(office[3]) == ["Connect"], "a running Windows favourite offers Connect: %r" % labels(office[3]))

    # The running-time reminder: the user sets 3 h on the service's web site, Office PC has run 2 h and
    # runs on. Its "Stop" stops the computer at once, without a question.
    query = urllib.parse.urlencode({"action": "update_user_data", "email": "demo@vantorix.example",
                                    "machine_running_for_x_hours_value": "3"})
    urllib.request.urlopen(urllib.request.Request(w.service + "/API/?" + query, method="POST", data=b""), timeout=10)
    # A user-data poll brings the new hours (one answered for sure once the next has gone out).
    more_user_data_polls(w, 2)
    w.control("advance?minutes=65")
    text = "Machine \"Office PC\" has been running for 3 hours."
    reminder = wait_until("the running-time reminder", lambda: notifications_with(w, text), 30)
    check(reminder[0]["actions"][2:] == ["stop", "Stop", "keep-running", "Keep running"],
          "the reminder offers Stop and Keep running: %r" % reminder[0]["actions"])
    w.shot("reminder")
    press_notification_button(w, reminder[0], "stop")
    stops = wait_until("the stop request", lambda: [r for r in w.requests() if "action=stop_user_vm_instance" in r], 20)
    check(len(stops) == 1, "one stop request: %r" % stops)
    time.sleep(1)
    check(not w.find("Stop Office PC?", "label"), "no confirmation was asked")
    w.shot("stopped-from-reminder")

    # "Start" on the stopped favourite asks as the card does, in the window.
    bus, service, menu, entries = w.tray()
    design = entries[labels(entries).index("\u2605 Design Station")]
    tray_host.press(bus, service, menu, design[3][0][2])
    w.click(w.wait_for("Start", "push button", timeout=20))
    wait_until("the start request", lambda: [r for r in w.requests() if "action=start_user_vm_instance" in r], 20)
    w.shot("started-from-tray")
