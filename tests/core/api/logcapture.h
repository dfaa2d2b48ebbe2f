#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtGlobal>

// Collects every log message while it lives (and still passes them on to the previous handler).
class LogCapture {
public:
    LogCapture()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    [[nodiscard]] QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    [[nodiscard]] QString all() const { return lines().join(QLatin1Char('\n')); }
    [[nodiscard]] bool contains(const QString &text) const { return all().contains(text); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (LogCapture *self = s_current) {
            {
                QMutexLocker lock(&self->m_mutex);
                self->m_lines.append(message);
            }
            if (self->m_previous)
                self->m_previous(type, context, message);
        }
    }

    static inline LogCapture *s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    mutable QMutex m_mutex;
    QStringList m_lines;
};
