"""A stand-in for the desktop's system tray on the private session bus: a StatusNotifierWatcher that
says a tray host is present (so that Qt shows its tray icon as a StatusNotifierItem over D-Bus) and
records the items that register, one JSON line each: {"service": ..., "path": ...}.
    tray_host.py <record file>"""
import json
import sys

from gi.repository import Gio, GLib

WATCHER = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface></node>"""


def main():
    record = sys.argv[1]
    items = []
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def on_call(connection, sender, path, interface, method, parameters, invocation):
        if method == "RegisterStatusNotifierItem":
            service = parameters.unpack()[0]
            # An item may name itself by its object path only: its bus name is then the sender's.
            item = {"service": sender, "path": service} if service.startswith("/") else \
                {"service": service, "path": "/StatusNotifierItem"}
            items.append(item["service"] + item["path"])
            with open(record, "a") as f:
                f.write(json.dumps(item) + "\n")
            connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                                   GLib.Variant("(s)", (items[-1],)))
        invocation.return_value(None)

    def on_get(connection, sender, path, interface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}.get(name)

    info = Gio.DBusNodeInfo.new_for_xml(WATCHER).interfaces[0]
    bus.register_object("/StatusNotifierWatcher", info, on_call, on_get, None)
    Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE, None, None)
    print("tray host ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
