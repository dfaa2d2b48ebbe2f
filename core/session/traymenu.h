#pragma once

#include <QList>
#include <QString>

class Computer;
class MainContext;

// What the tray menu shows of a signed-in session: the balance, and the favourite and running computers
// with what can be done to each from there. Built from the session, so the host only draws it.
namespace TrayMenu {

enum class Action { Connect, Start };

struct Entry {
    qint64 identifier = -1;
    // The computer's name; a favourite's starts with a star.
    QString title;
    // Shown disabled when no action applies ("Running", "Stopped", ...).
    QString statusText;
    QList<Action> actions;
    friend bool operator==(const Entry &a, const Entry &b)
    {
        return a.identifier == b.identifier && a.title == b.title && a.statusText == b.statusText &&
               a.actions == b.actions;
    }
};

constexpr int kMaxEntries = 10;

// Favourites first, then the other running computers, each group in the session's ordering; deleted
// computers never; at most kMaxEntries. "Connect" for a running Windows computer, "Start" for one that can
// be started.
[[nodiscard]] QList<Entry> entries(const MainContext &session);
[[nodiscard]] QString actionText(Action action);
// "Balance: 12.34 credits".
[[nodiscard]] QString balanceLine(double credits);
// The tray icon's tool tip: the product name, the balance and, while something runs, the hours left.
[[nodiscard]] QString toolTip(double credits, const QString &hoursLeftText);

// Does what the computer card's button does: the same questions, the same notices.
void trigger(MainContext &session, qint64 identifier, Action action);

} // namespace TrayMenu
