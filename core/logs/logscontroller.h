#pragma once

#include "shell.h"

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <functional>

class ApiClient;

// The host logic behind the paged log view, for the account's activity log or for one computer's.
// It keeps the page state, sends "get_user_logs" for the shown page or for the e-mail export, holds the
// entries of the current page and writes them out as CSV. The view binds to its properties and calls
// setPage/setPerPage/refresh/requestLogsEmail/exportCsv; it never sends anything itself.
//
// The entries are a QVariantList of maps (one per entry, the service's keys, in the service's order):
// the view shows a handful of rows per page, so a plain list that is replaced whole is enough.
//
// The first page is asked for right after creation (queued, so that the creator can finish setting it
// up); a computer log with no computer yet asks for nothing.
class LogsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("LogsController is provided by the session")
    Q_PROPERTY(bool isMachineLog READ isMachineLog CONSTANT)
    Q_PROPERTY(qint64 machineId READ machineId WRITE setMachineId NOTIFY machineIdChanged)
    Q_PROPERTY(int page READ page WRITE setPage NOTIFY pageChanged)
    Q_PROPERTY(int perPage READ perPage WRITE setPerPage NOTIFY perPageChanged)
    Q_PROPERTY(int maxPage READ maxPage NOTIFY maxPageChanged)
    Q_PROPERTY(int totalLogEntries READ totalLogEntries NOTIFY totalLogEntriesChanged)
    Q_PROPERTY(QVariantList logs READ logs NOTIFY logsChanged)
    Q_PROPERTY(bool loadingLogs READ loadingLogs NOTIFY loadingLogsChanged)
    Q_PROPERTY(bool sendingLogsEmail READ sendingLogsEmail NOTIFY sendingLogsEmailChanged)
    Q_PROPERTY(QString loadingText READ loadingText NOTIFY sendingLogsEmailChanged)
    Q_PROPERTY(QString noLogsFoundText READ noLogsFoundText CONSTANT)
    Q_PROPERTY(QString reloadLogsText READ reloadLogsText CONSTANT)
    Q_PROPERTY(QStringList columnKeys READ columnKeys CONSTANT)
    Q_PROPERTY(QList<int> perPageChoices READ perPageChoices CONSTANT)
    // Where the CSV save dialog starts: the user's home folder.
    Q_PROPERTY(QUrl exportFolder READ exportFolder CONSTANT)
    // When true, the notices about this log's requests are raised as notificationRequested() for the
    // view's own message area instead of going to the shell (unless a C++ sink was set).
    Q_PROPERTY(bool notifyInView READ notifyInView WRITE setNotifyInView NOTIFY notifyInViewChanged)

public:
    enum class Scope { Account, Machine };
    // The signed-in user's e-mail address, read when a request is sent.
    using EmailProvider = std::function<QString()>;
    using NotificationSink = std::function<void(const QString &message, Shell::Level level)>;

    // `api` and `shell` are not owned and must outlive this object (`shell` may be null: notices are
    // then logged).
    LogsController(Scope scope, ApiClient *api, Shell *shell, EmailProvider email, QObject *parent = nullptr);

    // Where the notices about this log's requests go (the details popup's own area). Empty: the shell.
    void setNotificationSink(NotificationSink sink);

    [[nodiscard]] bool isMachineLog() const { return m_scope == Scope::Machine; }
    [[nodiscard]] qint64 machineId() const { return m_machineId; }
    [[nodiscard]] int page() const { return m_page; }
    [[nodiscard]] int perPage() const { return m_perPage; }
    [[nodiscard]] int maxPage() const { return m_maxPage; }
    [[nodiscard]] int totalLogEntries() const { return m_total; }
    [[nodiscard]] QVariantList logs() const { return m_logs; }
    [[nodiscard]] bool loadingLogs() const { return m_inFlight > 0; }
    [[nodiscard]] bool sendingLogsEmail() const { return m_emailInFlight > 0; }
    [[nodiscard]] QString loadingText() const;
    [[nodiscard]] QString noLogsFoundText() const;
    [[nodiscard]] QString reloadLogsText() const;
    [[nodiscard]] QStringList columnKeys() const;
    [[nodiscard]] QList<int> perPageChoices() const;
    [[nodiscard]] static QUrl exportFolder();
    [[nodiscard]] bool notifyInView() const { return m_notifyInView; }

    // The computer whose log is shown. A change clears the shown page and asks for the new computer's;
    // setting the same computer again asks for nothing. 0 (no computer) asks for nothing.
    void setMachineId(qint64 id);
    // Moves to a page (held within 0..maxPage) and asks for it when it changed.
    void setPage(int page);
    // Changes the page size (values below 1 are refused), drops the page to maxPage when needed and
    // asks for the page at the new size.
    void setPerPage(int perPage);
    void setNotifyInView(bool inView);

    // Sends one "get_user_logs" request: a page (sendLogsEmail false) or the e-mail export of all
    // entries (the view passes -1, -1, true). Overlapping page requests are allowed; only the answer to
    // the latest one is shown.
    Q_INVOKABLE void getLogs(int page, int perPage, bool sendLogsEmail);
    // Asks for the current page again.
    Q_INVOKABLE void refresh();
    // Asks the service to e-mail all entries.
    Q_INVOKABLE void requestLogsEmail();
    // The CSV text of the current page.
    Q_INVOKABLE [[nodiscard]] QString csvText() const;
    // Writes the current page as CSV to the file a save dialog chose and tells the user how it went (in
    // the view's own message area while notifyInView, like the request notices).
    Q_INVOKABLE bool exportCsv(const QUrl &fileUrl);

Q_SIGNALS:
    void machineIdChanged();
    void pageChanged();
    void perPageChanged();
    void maxPageChanged();
    void totalLogEntriesChanged();
    void logsChanged();
    void loadingLogsChanged();
    void sendingLogsEmailChanged();
    void notifyInViewChanged();
    // A notice for the view's own message area (only while notifyInView and no C++ sink is set).
    void notificationRequested(const QString &message, int level);

private:
    void applyPage(quint64 serial, const QJsonValue &entries, const QJsonValue &reply);
    void setTotal(int total, bool requestDroppedPage);
    void updateMaxPage();
    void raise(const QString &message, Shell::Level level);
    void requestFinished(bool email);

    Scope m_scope;
    ApiClient *m_api;
    Shell *m_shell;
    EmailProvider m_email;
    NotificationSink m_sink;
    bool m_notifyInView = false;
    qint64 m_machineId = 0;
    int m_page = 0;
    int m_perPage;
    int m_maxPage = 0;
    int m_total = 0;
    QVariantList m_logs;
    int m_inFlight = 0;
    int m_emailInFlight = 0;
    quint64 m_serial = 0; // of the latest page request
    quint64 m_nextSerial = 0;
};
