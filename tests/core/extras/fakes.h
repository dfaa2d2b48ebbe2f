#pragma once

#include "hostservices.h"
#include "shell.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

// A Shell that records what it is asked to show and answers confirmations as told.
class FakeShell : public Shell {
public:
    struct Note {
        QString message;
        Level level;
    };
    struct Confirmation {
        QString title;
        QString message;
        QString okText;
        QString cancelText;
    };

    void notify(const QString &message, Level level, int = 10000) override { notes.append({message, level}); }
    void confirm(const QString &title, const QString &message, const QString &okText,
                 const QString &cancelText, std::function<void()> accepted,
                 std::function<void()> cancelled) override
    {
        confirmations.append({title, message, okText, cancelText});
        if (accept && accepted)
            accepted();
        else if (!accept && cancelled)
            cancelled();
    }
    void setTimeout(std::function<void()> fn, int delayMs) override { QTimer::singleShot(delayMs, fn); }

    [[nodiscard]] QStringList messages() const
    {
        QStringList list;
        for (const Note &n : notes)
            list.append(n.message);
        return list;
    }

    bool accept = true;
    QList<Note> notes;
    QList<Confirmation> confirmations;
};

// The host's operating-system effects, recorded.
class FakeHost : public HostServices {
public:
    void openUrl(const QUrl &url) const override { opened.append(url); }
    unsigned int openRdp(const QString &) const override { return 0; }
    [[nodiscard]] QString encrypt(const QString &) const override { return {}; }
    void systemNotification(const QString &) const override {}
    void clearAccessCacheAndCookies() const override {}
    void raiseWindow() const override {}

    mutable QList<QUrl> opened;
};
