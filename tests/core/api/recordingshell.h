#pragma once

#include "shell.h"

#include <QList>
#include <QString>
#include <QTimer>

// A Shell that records notifications instead of showing them.
class RecordingShell : public Shell {
public:
    struct Note {
        QString message;
        Level level;
    };

    void notify(const QString &message, Level level, int = 10000) override { notes.append({message, level}); }
    void confirm(const QString &, const QString &, const QString &, const QString &, std::function<void()>,
                 std::function<void()>) override
    {
        ++confirmations;
    }
    void setTimeout(std::function<void()> fn, int delayMs) override { QTimer::singleShot(delayMs, fn); }

    QList<Note> notes;
    int confirmations = 0;
};
