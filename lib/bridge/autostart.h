#pragma once

#include <QString>

// Start at login on Linux desktops: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<app-id>.desktop
// (named by the desktop application id, like the installed menu entry), that starts the running
// executable minimised to the tray. Any file of that name counts as enabled (like a Run value that points
// elsewhere); enabling rewrites it.
class XdgAutoStart {
public:
    [[nodiscard]] static QString entryPath();
    // Where earlier versions wrote the entry ("vantorix.desktop"): it still counts as enabled, and is
    // replaced by the new one or removed with it.
    [[nodiscard]] static QString legacyEntryPath();
    [[nodiscard]] static bool isEnabled();
    // False (and a log line) when the entry could not be written or removed.
    static bool setEnabled(bool enabled);

    // The desktop entry text for an executable.
    [[nodiscard]] static QByteArray entryText(const QString &executablePath);
    // The Exec value: the path quoted as the desktop entry format requires, then --start-minimized.
    [[nodiscard]] static QString execValue(const QString &executablePath);
};
