#pragma once

#include "shell.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// A Shell that records what it is asked to show and confirm. Deferred calls run on timers like the
// window's, or (realTime off) are kept until the test runs them; confirmations are kept for the test to
// answer, or (acceptAll) accepted at once.
class RecordingShell : public Shell {
public:
    struct Note {
        QString message;
        Level level;
    };
    struct Confirmation {
        QString title, message, okText, cancelText;
        std::function<void()> accepted, cancelled;
    };
    struct Timeout {
        std::function<void()> fn;
        int delayMs;
    };

    void notify(const QString &message, Level level, int = 10000) override { notes.append({message, level}); }
    void confirm(const QString &title, const QString &message, const QString &okText,
                 const QString &cancelText, std::function<void()> accepted,
                 std::function<void()> cancelled) override
    {
        if (acceptAll && accepted)
            accepted();
        else if (!acceptAll)
            confirmations.append(
                {title, message, okText, cancelText, std::move(accepted), std::move(cancelled)});
    }
    void setTimeout(std::function<void()> fn, int delayMs) override
    {
        if (realTime)
            QTimer::singleShot(delayMs, std::move(fn));
        else
            timeouts.append({std::move(fn), delayMs});
    }

    // Runs the deferred calls recorded so far (calls they defer again are kept for the next round).
    int runTimeouts()
    {
        const QList<Timeout> due = std::exchange(timeouts, {});
        for (const Timeout &t : due)
            t.fn();
        return int(due.size());
    }
    [[nodiscard]] QList<int> timeoutDelays() const
    {
        QList<int> delays;
        for (const Timeout &t : timeouts)
            delays.append(t.delayMs);
        return delays;
    }
    [[nodiscard]] QStringList messages() const
    {
        QStringList list;
        for (const Note &n : notes)
            list.append(n.message);
        return list;
    }
    [[nodiscard]] int count(const QString &message) const { return int(messages().count(message)); }

    bool realTime = true;
    bool acceptAll = false;
    QList<Note> notes;
    QList<Confirmation> confirmations;
    QList<Timeout> timeouts;
};
