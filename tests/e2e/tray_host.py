"""A stand-in for the desktop's system tray on the private session bus: a StatusNotifierWatcher that
says a tray host is present (so that Qt shows its tray icon as a StatusNotifierItem over D-Bus) and
records the items that register, one JSON line each: {"service": ..., "path": ...}.
    tray_host.py <record file>
As a module it reads an item's menu as the desktop's tray does (com.canonical.dbusmenu), submenus included,
and presses its entries."""
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


def _label(properties):
    return properties.get("label", "").replace("_", "").replace("&", "")


def menu_layout(bus, service, path):
    """The item's menu as a list of (label, enabled, id, children), children in the same form; separators
    have the label "" and no children."""
    menu = bus.call_sync(service, path, "org.freedesktop.DBus.Properties", "Get",
                         GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", "Menu")), None,
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
    _, layout = bus.call_sync(service, menu, "com.canonical.dbusmenu", "GetLayout",
                              GLib.Variant("(iias)", (0, -1, [])), None, Gio.DBusCallFlags.NONE, 5000,
                              None).unpack()

    def entries(node):
        return [(_label(child[1]), child[1].get("enabled", True), child[0], entries(child))
                for child in node[2]]
    return menu, entries(layout)


def press(bus, service, menu, entry_id):
    """Clicks a menu entry, as a user's click in the tray would."""
    bus.call_sync(service, menu, "com.canonical.dbusmenu", "Event",
                  GLib.Variant("(isvu)", (entry_id, "clicked", GLib.Variant("s", ""), 0)), None,
                  Gio.DBusCallFlags.NONE, 5000, None)


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
