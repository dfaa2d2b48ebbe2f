#include "logscontroller.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "csvwriter.h"
#include "logging.h"
#include "logpaging.h"
#include "utils/jsonread.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>

namespace {
const char *const kUnexpected = "Unexpected API response";
} // namespace

LogsController::LogsController(Scope scope, ApiClient *api, Shell *shell, EmailProvider email,
                               QObject *parent)
    : QObject(parent), m_scope(scope), m_api(api), m_shell(shell), m_email(std::move(email)),
      m_perPage(LogPaging::kDefaultPerPage)
{
    // The view asks for its first page as soon as it exists.
    QTimer::singleShot(0, this, &LogsController::refresh);
}

void LogsController::setNotificationSink(NotificationSink sink)
{
    m_sink = std::move(sink);
}

QString LogsController::loadingText() const
{
    if (sendingLogsEmail())
        return QStringLiteral("Requesting logs email");
    return isMachineLog() ? QStringLiteral("Loading machine activity.")
                          : QStringLiteral("Loading account activity.");
}

QString LogsController::noLogsFoundText() const
{
    return QStringLiteral("No activity found");
}

QString LogsController::reloadLogsText() const
{
    return isMachineLog() ? QStringLiteral("Reload machine activity")
                          : QStringLiteral("Reload account activity");
}

QStringList LogsController::columnKeys() const
{
    return {QStringLiteral("timezone"), QStringLiteral("operation_datetime"), QStringLiteral("details")};
}

QList<int> LogsController::perPageChoices() const
{
    return LogPaging::perPageChoices();
}

QUrl LogsController::exportFolder()
{
    return QUrl::fromLocalFile(QDir::homePath());
}

void LogsController::setMachineId(qint64 id)
{
    if (!isMachineLog() || id == m_machineId)
        return;
    m_machineId = id;
    Q_EMIT machineIdChanged();
    // Another computer's entries must not stay on show under this one's name, even if its request fails.
    if (!m_logs.isEmpty()) {
        m_logs.clear();
        Q_EMIT logsChanged();
    }
    setTotal(0, false);
    refresh();
}

void LogsController::setPage(int page)
{
    page = LogPaging::clampPage(page, m_total, m_perPage);
    if (page == m_page)
        return;
    m_page = page;
    Q_EMIT pageChanged();
    refresh();
}

void LogsController::setPerPage(int perPage)
{
    if (perPage < 1) {
        qCWarning(lcCore) << "log view: refused a page size of" << perPage;
        return;
    }
    if (perPage == m_perPage)
        return;
    m_perPage = perPage;
    Q_EMIT perPageChanged();
    updateMaxPage();
    if (m_page > m_maxPage) {
        m_page = m_maxPage;
        Q_EMIT pageChanged();
    }
    refresh();
}

void LogsController::setNotifyInView(bool inView)
{
    if (inView == m_notifyInView)
        return;
    m_notifyInView = inView;
    Q_EMIT notifyInViewChanged();
}

void LogsController::refresh()
{
    getLogs(m_page, m_perPage, false);
}

void LogsController::requestLogsEmail()
{
    getLogs(-1, -1, true);
}

void LogsController::getLogs(int page, int perPage, bool sendLogsEmail)
{
    if (isMachineLog() && m_machineId <= 0)
        return; // the details popup shows no computer yet
    const QString email = m_email ? m_email() : QString();
    if (!m_api || email.isEmpty()) {
        qCWarning(lcCore) << "log view: no service client or no signed-in user; nothing asked for";
        return;
    }
    const LogScope scope = isMachineLog() ? LogScope::machine(m_machineId) : LogScope::account();
    const quint64 serial = ++m_nextSerial;
    if (!sendLogsEmail)
        m_serial = serial;

    const bool wasLoading = loadingLogs();
    ++m_inFlight;
    if (sendLogsEmail && m_emailInFlight++ == 0)
        Q_EMIT sendingLogsEmailChanged();
    if (!wasLoading)
        Q_EMIT loadingLogsChanged();

    ApiHandlers h;
    h.context = this;
    h.finished = [guard = QPointer<LogsController>(this), sendLogsEmail] {
        if (guard)
            guard->requestFinished(sendLogsEmail);
    };
    h.notify = [this](const QString &message, Shell::Level level) { raise(message, level); };
    h.success = [this, serial, sendLogsEmail](const ApiReply &reply) {
        if (sendLogsEmail) {
            const QString what = isMachineLog() ? QStringLiteral("machine") : QStringLiteral("account");
            const QString message =
                QStringLiteral("Your %1 logs will be emailed to your account email address shortly.")
                    .arg(what);
            if (m_shell)
                m_shell->confirm(QStringLiteral("Email Logs Request"), message, QStringLiteral("Ok"),
                                 QString(), {}, {});
            return;
        }
        applyPage(serial, reply.value, reply.reply);
    };
    m_api->send(ApiRequests::getUserLogs(email, scope, page, perPage, sendLogsEmail), h);
}

void LogsController::requestFinished(bool email)
{
    --m_inFlight;
    if (email && --m_emailInFlight == 0)
        Q_EMIT sendingLogsEmailChanged();
    if (m_inFlight == 0)
        Q_EMIT loadingLogsChanged();
}

void LogsController::applyPage(quint64 serial, const QJsonValue &entries, const QJsonValue &reply)
{
    if (serial != m_serial) {
        qCDebug(lcCore) << "log view: an answer for a page that is no longer asked for is dropped";
        return;
    }
    if (!entries.isArray()) {
        raise(QString::fromLatin1(kUnexpected), Shell::Level::Error);
        qCWarning(lcCore).noquote() << "get_user_logs: \"success\" is not a list of entries:"
                                    << ApiEnvelope::indentedJson(reply);
        return;
    }
    const QJsonArray list = entries.toArray();
    m_logs = list.toVariantList();
    Q_EMIT logsChanged();
    // A reply without a usable count still has at least the entries it carries.
    const int fallback = m_page * m_perPage + int(list.size());
    setTotal(
        qMax(0, JsonRead::integer(reply.toObject().value(QStringLiteral("total_log_entries")), fallback)),
        true);
}

void LogsController::setTotal(int total, bool requestDroppedPage)
{
    if (total != m_total) {
        m_total = total;
        Q_EMIT totalLogEntriesChanged();
    }
    updateMaxPage();
    if (m_page > m_maxPage) {
        // Fewer entries than the shown page needs: show the last page that has some.
        m_page = m_maxPage;
        Q_EMIT pageChanged();
        if (requestDroppedPage)
            refresh();
    }
}

void LogsController::updateMaxPage()
{
    const int maxPage = LogPaging::maxPage(m_total, m_perPage);
    if (maxPage == m_maxPage)
        return;
    m_maxPage = maxPage;
    Q_EMIT maxPageChanged();
}

void LogsController::raise(const QString &message, Shell::Level level)
{
    if (m_sink)
        m_sink(message, level);
    else if (m_notifyInView)
        Q_EMIT notificationRequested(message, int(level));
    else if (m_shell)
        m_shell->notify(message, level);
    else
        qCInfo(lcCore).noquote() << "log view notice:" << message;
}

QString LogsController::csvText() const
{
    return CsvWriter::pageText(m_logs, columnKeys());
}

bool LogsController::exportCsv(const QUrl &fileUrl)
{
    // toLocalFile keeps the leading "/" of an absolute path and decodes %20 and non-ASCII characters.
    // Qt's own (non-native) save dialog hands over a typed name as a URL with no scheme: a bare
    // absolute path, which is a local file too.
    QString path = fileUrl.toLocalFile();
    if (path.isEmpty() && fileUrl.scheme().isEmpty() && QDir::isAbsolutePath(fileUrl.path()))
        path = fileUrl.path();
    const QString shown = path.isEmpty() ? fileUrl.toString() : path;
    QString error;
    const bool ok = CsvWriter::writeFile(path, csvText(), &error);
    if (!ok)
        qCWarning(lcCore).noquote() << "log export to" << shown << "failed:" << error;
    const QString message = ok ? QStringLiteral("Logs saved to '") + shown + QLatin1Char('\'')
                               : QStringLiteral("Unable to save logs to '") + shown + QLatin1Char('\'');
    raise(message, ok ? Shell::Level::Info : Shell::Level::Error);
    return ok;
}
