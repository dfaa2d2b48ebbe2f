#pragma once

#include <QString>
#include <functional>

// The one narrow way the core reaches the user interface. The root view implements it; tests use a
// recording fake. The core never touches QML items directly.
class Shell {
public:
    // Same values as the QML Notification.Level.
    enum class Level { Info = 0, Warning = 1, Error = 2 };

    virtual ~Shell() = default;

    // An in-app notification in the window's bottom stack (lifespan in ms; 0 keeps it until closed).
    virtual void notify(const QString &message, Level level, int lifespanMs = 10000) = 0;

    // The shared confirmation popup. An empty button text hides that button. Either callback may be empty.
    virtual void confirm(const QString &title, const QString &message, const QString &okText,
                         const QString &cancelText, std::function<void()> accepted,
                         std::function<void()> cancelled) = 0;

    // Runs fn once after delayMs on the UI thread; cannot be cancelled.
    virtual void setTimeout(std::function<void()> fn, int delayMs) = 0;
};
