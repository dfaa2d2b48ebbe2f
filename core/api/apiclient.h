#pragma once

#include "apienvelope.h"
#include "apipolicy.h"
#include "apirequest.h"
#include "shell.h"

#include <QHash>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

// What a success handler receives.
struct ApiReply {
    int status = 0;
    QJsonValue value; // the success key's value, or the reply itself for actions whose reply is the data
    QJsonValue reply; // the whole parsed reply (null for replies whose body is not read)
};

// What a caller hands to ApiClient::send. Everything is optional.
struct ApiHandlers {
    // The object the handlers belong to. When it is destroyed before the reply arrives, `success`,
    // `networkFailure` and `notify` are skipped and nothing is shown; `finished` still runs.
    QObject *context = nullptr;
    std::function<void(const ApiReply &)> success;
    // Runs exactly once per request, on every path (reply, failure, time-out, abort, client destroyed),
    // before the reply is acted on. It is not guarded by `context`: it must only touch what outlives the
    // request, or guard itself (capture a QPointer), since it also runs after the context has gone.
    std::function<void()> finished;
    // No answer at all; receives the failure's description (secrets removed).
    std::function<void(const QString &error)> networkFailure;
    // No answer within the action's time limit, so the service may still have acted on the request. When
    // set, it runs instead of `networkFailure` for that case.
    std::function<void(const QString &error)> timedOut;
    // The caller logs this request's network failures itself (a poll that would write the same line at
    // every tick logs it once): the client's own "Request failed" line is left out for them.
    bool ownFailureLog = false;
    // Where this request's notifications go instead of the shell (a view with its own message area).
    std::function<void(const QString &message, Shell::Level level)> notify;
    ApiPolicy::Mode mode = ApiPolicy::Mode::Default;

    // This request's notices go to `shell` rather than the client's own (the session's shell obeys the
    // session's master switch). `shell` must live as long as `context`; null leaves the client's.
    void notifyThrough(Shell *shell)
    {
        if (shell)
            notify = [shell](const QString &message, Shell::Level level) { shell->notify(message, level); };
    }
};

// Sends service requests and applies the one reply envelope to every answer: status and 401 rule, empty
// and malformed bodies, "error_message", the success key, and the per-action texts. Callers describe a
// request with ApiRequests and say only what differs for them through ApiHandlers.
class ApiClient : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultTransferTimeoutMs = 30000;

    // `network` and `shell` are not owned and must outlive the client (`shell` may be null: notices are
    // then only logged). The base defaults to the configured service address.
    ApiClient(QNetworkAccessManager *network, Shell *shell, QObject *parent = nullptr);
    ~ApiClient() override;

    void setBaseUrl(const QString &base);
    [[nodiscard]] QString baseUrl() const { return m_base; }
    // A transfer that is silent for this long counts as a network failure.
    void setTransferTimeout(int ms);
    [[nodiscard]] int transferTimeout() const { return m_transferTimeoutMs; }
    // Replies larger than this are dropped and count as a network failure.
    void setMaxReplySize(qint64 bytes);
    [[nodiscard]] qint64 maxReplySize() const { return m_maxReplySize; }
    [[nodiscard]] int pendingCount() const { return int(m_pending.size()); }

    // Sends with the action's default policy, adjusted by handlers.mode.
    void send(const ApiRequest &request, ApiHandlers handlers = {});
    // Sends with an explicit policy (handlers.mode still applies).
    void send(const ApiRequest &request, const ApiPolicy &policy, ApiHandlers handlers);

    // Aborts every pending request; each one's `finished` runs, nothing else of the caller's.
    void abortAll();

Q_SIGNALS:
    // A signed-in session's request was answered with 401: the session must sign out.
    void sessionUnauthorized();
    // A request sent before sign-in was answered with 401: the window returns to the signed-out state.
    void signedOutUnauthorized();

private:
    struct Pending;

    void onReplyFinished(quint64 id);
    void onReplyGone(quint64 id);
    void failLater(quint64 id, const QString &error);
    void complete(const std::shared_ptr<Pending> &pending, const ApiResponse &response, bool aborting);
    void writeLog(const QString &action, const ApiLogLine &line) const;
    [[nodiscard]] int transferTimeoutFor(const Pending &pending) const;
    [[nodiscard]] qint64 maxReplySizeFor(const Pending &pending) const;

    QPointer<QNetworkAccessManager> m_network;
    Shell *m_shell = nullptr;
    QString m_base;
    int m_transferTimeoutMs = kDefaultTransferTimeoutMs;
    qint64 m_maxReplySize = ApiEnvelope::kDefaultMaxReplySize;
    quint64 m_nextId = 1;
    QHash<quint64, std::shared_ptr<Pending>> m_pending;
};
