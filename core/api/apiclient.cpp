#include "apiclient.h"

#include "logging.h"
#include "serviceconfig.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

struct ApiClient::Pending {
    quint64 id = 0;
    ApiRequest request;
    ApiPolicy policy;
    ApiHandlers handlers;
    bool hadContext = false;
    QPointer<QObject> context;
    QPointer<QNetworkReply> reply;
    bool tooLarge = false;
};

namespace {

// Errors below the content range are the transport's own (connection, TLS, time-out, proxy); from
// there on the network layer maps an HTTP status to an error, and the status tells the story.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied;
}

} // namespace

ApiClient::ApiClient(QNetworkAccessManager *network, Shell *shell, QObject *parent)
    : QObject(parent), m_network(network), m_shell(shell), m_base(ServiceConfig::baseText())
{
}

ApiClient::~ApiClient()
{
    abortAll();
}

void ApiClient::setBaseUrl(const QString &base)
{
    m_base = base;
    while (m_base.endsWith(QLatin1Char('/')))
        m_base.chop(1);
}

void ApiClient::setTransferTimeout(int ms)
{
    m_transferTimeoutMs = qMax(1, ms);
}

void ApiClient::setMaxReplySize(qint64 bytes)
{
    m_maxReplySize = qMax<qint64>(1, bytes);
}

int ApiClient::transferTimeoutFor(const Pending &pending) const
{
    return m_transferTimeoutMs * qMax(1, pending.policy.timeoutFactor);
}

qint64 ApiClient::maxReplySizeFor(const Pending &pending) const
{
    return m_maxReplySize * qMax(1, pending.policy.replySizeFactor);
}

void ApiClient::send(const ApiRequest &request, ApiHandlers handlers)
{
    send(request, ApiPolicy::forAction(request.action), std::move(handlers));
}

void ApiClient::send(const ApiRequest &request, const ApiPolicy &policy, ApiHandlers handlers)
{
    auto pending = std::make_shared<Pending>();
    pending->id = m_nextId++;
    pending->request = request;
    pending->policy = policy.withMode(handlers.mode);
    pending->hadContext = handlers.context != nullptr;
    pending->context = handlers.context;
    pending->handlers = std::move(handlers);
    const quint64 id = pending->id;
    m_pending.insert(id, pending);

    const QString urlText = request.urlText(m_base);
    if (!request.logLabel.isEmpty())
        qCInfo(lcApi).noquote() << request.logLabel << ApiRedaction::redact(urlText);

    const QUrl url(urlText, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        failLater(id, QStringLiteral("invalid request URL"));
        return;
    }
    if (!m_network) {
        failLater(id, QStringLiteral("no network access"));
        return;
    }

    QNetworkRequest networkRequest(url);
    networkRequest.setTransferTimeout(transferTimeoutFor(*pending));
    // A custom "POST" with an empty buffer sends Content-Length: 0 and no content type, like a browser's
    // empty POST; post() would add a form content type and move a null body's query into the body.
    QNetworkReply *reply = request.method == ApiRequest::Method::Get
                               ? m_network->get(networkRequest)
                               : m_network->sendCustomRequest(networkRequest, "POST", QByteArray());
    pending->reply = reply;

    connect(reply, &QNetworkReply::finished, this, [this, id] { onReplyFinished(id); });
    connect(reply, &QObject::destroyed, this, [this, id] { onReplyGone(id); });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, id](qint64 received, qint64 total) {
        const auto pending = m_pending.value(id);
        const qint64 limit = pending ? maxReplySizeFor(*pending) : 0;
        if (!pending || !pending->reply || (received <= limit && total <= limit))
            return;
        pending->tooLarge = true;
        pending->reply->abort(); // finishes the reply, which lands in onReplyFinished
    });
}

void ApiClient::failLater(quint64 id, const QString &error)
{
    // Never complete inside send(): a caller that sets its busy flag after sending must still see it
    // cleared.
    QTimer::singleShot(0, this, [this, id, error] {
        const auto pending = m_pending.take(id);
        if (!pending)
            return;
        ApiResponse response;
        response.networkFailure = true;
        response.errorText = error;
        complete(pending, response, false);
    });
}

void ApiClient::onReplyFinished(quint64 id)
{
    const auto pending = m_pending.take(id);
    if (!pending || !pending->reply)
        return;
    QNetworkReply *reply = pending->reply;
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();

    ApiResponse response;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    response.status = status.isValid() ? status.toInt() : 0;
    response.statusText = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const qint64 maxReplySize = maxReplySizeFor(*pending);
    if (pending->tooLarge) {
        response.networkFailure = true;
        response.errorText = QStringLiteral("reply larger than %1 bytes").arg(maxReplySize);
    } else if (isTransportError(reply->error()) ||
               (reply->error() != QNetworkReply::NoError && !status.isValid())) {
        response.networkFailure = true;
        // The client aborts only for size (above) and in abortAll (disconnected first): a cancel seen
        // here is the transfer time-out.
        response.timedOut = reply->error() == QNetworkReply::OperationCanceledError;
        response.errorText = response.timedOut
                                 ? QStringLiteral("no reply within %1 ms").arg(transferTimeoutFor(*pending))
                                 : reply->errorString();
    } else if (pending->policy.success != ApiPolicy::Success::StatusOnly) {
        // The finished reply holds its whole body: read exactly that. (read(max) would reserve the largest
        // allowed size for every reply, and such large blocks keep the allocator's heap from shrinking.)
        if (reply->bytesAvailable() > maxReplySize) {
            response = ApiResponse{};
            response.networkFailure = true;
            response.errorText = QStringLiteral("reply larger than %1 bytes").arg(maxReplySize);
        } else {
            response.body = reply->readAll();
        }
    }
    complete(pending, response, false);
}

void ApiClient::onReplyGone(quint64 id)
{
    // The access manager (and with it the reply) was destroyed before the reply finished.
    const auto pending = m_pending.take(id);
    if (!pending)
        return;
    ApiResponse response;
    response.networkFailure = true;
    response.errorText = QStringLiteral("the network access was shut down");
    complete(pending, response, false);
}

void ApiClient::abortAll()
{
    const auto pendings = m_pending.values();
    m_pending.clear();
    for (const auto &pending : pendings) {
        if (QNetworkReply *reply = pending->reply) {
            disconnect(reply, nullptr, this, nullptr);
            reply->abort();
            reply->deleteLater();
        }
        ApiResponse response;
        response.networkFailure = true;
        response.errorText = QStringLiteral("request aborted");
        complete(pending, response, true);
    }
}

void ApiClient::writeLog(const QString &action, const ApiLogLine &line) const
{
    const QString text = action + QStringLiteral(": ") + ApiRedaction::redact(line.text);
    switch (line.type) {
    case QtDebugMsg:
        qCDebug(lcApi).noquote() << text;
        break;
    case QtInfoMsg:
        qCInfo(lcApi).noquote() << text;
        break;
    case QtWarningMsg:
        qCWarning(lcApi).noquote() << text;
        break;
    default:
        qCCritical(lcApi).noquote() << text;
        break;
    }
}

void ApiClient::complete(const std::shared_ptr<Pending> &pending, const ApiResponse &response, bool aborting)
{
    const ApiOutcome outcome = ApiEnvelope::evaluate(pending->policy, response);
    const QString &action = pending->request.action;
    if (pending->policy.logReply && !response.networkFailure && ApiEnvelope::isSuccessStatus(response.status))
        writeLog(action, {QtInfoMsg, ApiEnvelope::bodyForLog(response.body)});
    if (!(pending->handlers.ownFailureLog && outcome.kind == ApiOutcome::Kind::NetworkFailure)) {
        for (const ApiLogLine &line : outcome.log)
            writeLog(action, line);
    }

    // Handlers may delete this client or send new requests; keep what is needed on the stack.
    const QPointer<ApiClient> self(this);
    Shell *const shell = m_shell;
    const ApiHandlers handlers = pending->handlers;
    const bool callerAlive = !pending->hadContext || !pending->context.isNull();

    if (handlers.finished)
        handlers.finished();
    if (aborting)
        return;
    if (!callerAlive)
        qCDebug(lcApi).noquote() << action + QStringLiteral(": the caller has gone; the reply is dropped");

    if (self) {
        if (outcome.signOut == ApiOutcome::SignOut::Session)
            Q_EMIT sessionUnauthorized();
        else if (outcome.signOut == ApiOutcome::SignOut::PreSignIn)
            Q_EMIT signedOutUnauthorized();
    }
    if (outcome.notice && callerAlive) {
        if (handlers.notify)
            handlers.notify(outcome.notice->text, outcome.notice->level);
        else if (self && shell)
            shell->notify(outcome.notice->text, outcome.notice->level);
        else
            qCInfo(lcApi).noquote() << action + QStringLiteral(": notice:") << outcome.notice->text;
    }
    if (!callerAlive)
        return;
    if (outcome.kind == ApiOutcome::Kind::NetworkFailure) {
        if (response.timedOut && handlers.timedOut)
            handlers.timedOut(ApiRedaction::redact(response.errorText));
        else if (handlers.networkFailure)
            handlers.networkFailure(ApiRedaction::redact(response.errorText));
    }
    if (outcome.kind == ApiOutcome::Kind::Succeeded && handlers.success)
        handlers.success(ApiReply{response.status, outcome.value, outcome.reply});
}
