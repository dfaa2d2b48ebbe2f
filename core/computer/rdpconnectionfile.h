#pragma once

#include <QString>
#include <QStringList>

// The Remote Desktop connection text this program writes for one computer: the address and the user
// name, then the protected password and the application mode line when a password is given, then the
// display lines (RdpDisplay::fileLines). Lines end in CR LF except the last.
struct RdpConnectionFile {
    QString address;
    QString username;
    QString encryptedPassword; // empty: no password line
    QStringList displayLines;

    [[nodiscard]] QString text() const;
    // The address and the user name hold no control character (C0, DEL, C1) nor a Unicode line or
    // paragraph separator, so the text has exactly the lines written here.
    [[nodiscard]] bool hasSafeFields() const;
};
