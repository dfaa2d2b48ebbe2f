// The paged log view's host logic: page arithmetic, requests against the demo service, notices, the
// e-mail export and the CSV export.
#include "api/apiclient.h"
#include "logs/csvwriter.h"
#include "logs/logpaging.h"
#include "logs/logscontroller.h"
#include "records/user.h"
#include "sessiontestkit.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAccountFirstPage =
    QStringLiteral("/API/?action=get_user_logs&email=demo%40vantorix.example&page=0&per_page=15");

struct Received {
    QString message;
    Shell::Level level;
};

// The account's log view as the session makes it, its notices going to the sink when one is given.
std::unique_ptr<LogsController> accountLogs(SessionTestKit &f, QList<Received> *sink = nullptr)
{
    User *user = &f.user();
    auto logs = std::make_unique<LogsController>(LogsController::Scope::Account, &f.api(), &f.shell,
                                                 [user] { return user->email(); });
    if (sink)
        logs->setNotificationSink([sink](const QString &m, Shell::Level l) { sink->append({m, l}); });
    return logs;
}

} // namespace

class TestLogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void maxPage_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("maxPage");
        QTest::newRow("no entries") << 0 << 15 << 0;
        QTest::newRow("31 at 15: pages 0 to 2") << 31 << 15 << 2;
        QTest::newRow("30 at 15: no empty third page") << 30 << 15 << 1;
        QTest::newRow("exactly one page") << 15 << 15 << 0;
        QTest::newRow("one more than a page") << 16 << 15 << 1;
        QTest::newRow("64 at 200") << 64 << 200 << 0;
        QTest::newRow("nonsense page size") << 64 << 0 << 0;
        QTest::newRow("nonsense total") << -5 << 15 << 0;
    }

    void maxPage()
    {
        QFETCH(int, total);
        QFETCH(int, perPage);
        QFETCH(int, maxPage);
        QCOMPARE(LogPaging::maxPage(total, perPage), maxPage);
        QCOMPARE(LogPaging::clampPage(1000, total, perPage), maxPage);
        QCOMPARE(LogPaging::clampPage(-3, total, perPage), 0);
    }

    void csvField_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Machine started" << QStringLiteral("Machine started");
        QTest::newRow("empty") << "" << QStringLiteral("");
        QTest::newRow("comma") << "a,b" << QStringLiteral("\"a,b\"");
        QTest::newRow("quote") << "say \"hi\"" << QStringLiteral("\"say \"\"hi\"\"\"");
        QTest::newRow("line feed") << "one\ntwo" << QStringLiteral("\"one\ntwo\"");
        QTest::newRow("carriage return") << "one\rtwo" << QStringLiteral("\"one\rtwo\"");
        QTest::newRow("formula =") << "=HYPERLINK(\"x\")" << QStringLiteral("\"'=HYPERLINK(\"\"x\"\")\"");
        QTest::newRow("formula +") << "+1" << QStringLiteral("'+1");
        QTest::newRow("formula -") << "-2+3" << QStringLiteral("'-2+3");
        QTest::newRow("formula @") << "@SUM(A1)" << QStringLiteral("'@SUM(A1)");
        QTest::newRow("inner = is harmless") << "a=b" << QStringLiteral("a=b");
        QTest::newRow("non-ASCII") << "Zürich ✓" << QStringLiteral("Zürich ✓");
    }

    void csvField()
    {
        QFETCH(QString, value);
        QFETCH(QString, field);
        QCOMPARE(CsvWriter::field(value), field);
    }

    void csvPage()
    {
        const QStringList keys{QStringLiteral("timezone"), QStringLiteral("operation_datetime"),
                               QStringLiteral("details")};
        QCOMPARE(CsvWriter::pageText({}, keys), QString());
        const QVariantList entries{
            QVariantMap{{"timezone", "UTC"},
                        {"operation_datetime", "2024-01-01 10:00:00"},
                        {"details", "Started, ok"}},
            QVariantMap{{"details", "no time"}, {"extra", "ignored"}},
            QVariantMap{{"timezone", 2}, {"operation_datetime", QVariant()}, {"details", "-rm"}},
        };
        QCOMPARE(CsvWriter::pageText(entries, keys),
                 QStringLiteral("UTC,2024-01-01 10:00:00,\"Started, ok\"\n,,no time\n2,,'-rm"));
    }

    void exportWritesFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("spaces") << "my logs export.csv";
        QTest::newRow("non-ASCII") << "журнал ü €.csv";
        QTest::newRow("percent and hash") << "100% #1.csv";
    }

    void exportWritesFile()
    {
        QFETCH(QString, fileName);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        RecordingShell shell;
        LogsController logs(LogsController::Scope::Account, nullptr, &shell, [] { return QString(); });
        const QString path = dir.filePath(fileName);

        // An empty page writes an empty file.
        QVERIFY(logs.exportCsv(QUrl::fromLocalFile(path)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray());
        file.close();
        QCOMPARE(shell.notes.size(), 1);
        QCOMPARE(shell.notes.first().message, QStringLiteral("Logs saved to '") + path + QLatin1Char('\''));
        QCOMPARE(shell.notes.first().level, Shell::Level::Info);

        // The URL text a file dialog hands over (encoded) leads to the same file.
        QVERIFY(logs.exportCsv(QUrl(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded))));
        QVERIFY(QFile::exists(path));
        QCOMPARE(dir.path(), QFileInfo(path).absolutePath());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{fileName}); // no temporary left behind
    }

    void exportFailures_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("shown");
        QTest::newRow("missing folder") << "file:///nonexistent-folder-vantorix/x.csv"
                                        << QStringLiteral("/nonexistent-folder-vantorix/x.csv");
        QTest::newRow("not a local file")
            << "https://example.com/x.csv" << QStringLiteral("https://example.com/x.csv");
        QTest::newRow("empty") << "" << QStringLiteral("");
    }

    void exportFailures()
    {
        QFETCH(QString, url);
        QFETCH(QString, shown);
        RecordingShell shell;
        LogsController logs(LogsController::Scope::Account, nullptr, &shell, [] { return QString(); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("log export to .* failed")));
        QVERIFY(!logs.exportCsv(QUrl(url)));
        QCOMPARE(shell.notes.size(), 1);
        QCOMPARE(shell.notes.first().message,
                 QStringLiteral("Unable to save logs to '") + shown + QLatin1Char('\''));
        QCOMPARE(shell.notes.first().level, Shell::Level::Error);
    }

    // The account's log from its creation: the first page, the e-mail export, a late answer for an
    // earlier page, then page and page-size changes.
    void accountLog()
    {
        SessionTestKit f;
        QList<Received> sink;
        auto logs = accountLogs(f, &sink);
        QSignalSpy loading(logs.get(), &LogsController::loadingLogsChanged);
        QTRY_COMPARE_WITH_TIMEOUT(logs->logs().size(), 15, 10000);
        QTRY_VERIFY(!logs->loadingLogs());
        QCOMPARE(loading.count(), 2); // on, then off
        QCOMPARE(logs->totalLogEntries(), 64);
        QCOMPARE(logs->maxPage(), 4);
        QCOMPARE(f.requests(QStringLiteral("get_user_logs")), QStringList{kAccountFirstPage});
        QVERIFY(f.settle());
        const QVariantList page0 = logs->logs();
        f.clearRequests();

        QCOMPARE(logs->loadingText(), QStringLiteral("Loading account activity."));
        logs->requestLogsEmail();
        QVERIFY(f.settle());
        const QString base = QStringLiteral("/API/?action=get_user_logs&email=demo%40vantorix.example");
        QCOMPARE(f.requests(QStringLiteral("get_user_logs")), QStringList{base + "&send_logs_email=true"});
        QCOMPARE(f.shell.confirmations.size(), 1);
        QCOMPARE(f.shell.confirmations.first().message,
                 QStringLiteral("Your account logs will be emailed to your account email address shortly."));
        QCOMPARE(logs->logs(), page0); // the shown page stays
        QVERIFY(sink.isEmpty());

        // The answer for page 1 arrives after the one for page 2: page 2 stays on show.
        f.fault(QStringLiteral("get_user_logs"), QStringLiteral("delay"), 1, 500, 1500);
        logs->setPage(1);
        logs->setPage(2);
        QVERIFY(logs->loadingLogs());
        QVERIFY(f.settle());
        QVERIFY(!logs->loadingLogs());
        QCOMPARE(logs->page(), 2);
        logs->refresh();
        QVERIFY(f.settle());
        QVERIFY(logs->logs() != page0);
        QCOMPARE(logs->logs().size(), 15);
        f.clearRequests();

        logs->setPage(3);
        QVERIFY(f.settle());
        logs->setPage(3);  // unchanged: nothing asked
        logs->setPage(99); // held at maxPage 4
        QCOMPARE(logs->page(), 4);
        QVERIFY(f.settle());
        QCOMPARE(logs->logs().size(), 4); // 64 - 4 * 15

        // A larger page size drops the page to the new maxPage and asks for it at once, once.
        logs->setPerPage(50);
        QCOMPARE(logs->maxPage(), 1);
        QCOMPARE(logs->page(), 1);
        QVERIFY(f.settle());
        logs->refresh();
        QVERIFY(f.settle());
        QCOMPARE(f.requests(QStringLiteral("get_user_logs")),
                 (QStringList{base + "&page=3&per_page=15", base + "&page=4&per_page=15",
                              base + "&page=1&per_page=50", base + "&page=1&per_page=50"}));
        QCOMPARE(logs->logs().size(), 14);
        QVERIFY(!logs->loadingLogs());
    }

    void failuresGoToTheSinkAndClearLoading_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("notice");
        QTest::newRow("error_message") << "error_message"
                                       << "Logs are resting";
        QTest::newRow("connection dropped: nothing shown") << "drop"
                                                           << "";
    }

    void failuresGoToTheSinkAndClearLoading()
    {
        QFETCH(QString, fault);
        QFETCH(QString, notice);
        SessionTestKit f;
        QList<Received> sink;
        auto logs = accountLogs(f, &sink);
        QTRY_COMPARE_WITH_TIMEOUT(logs->totalLogEntries(), 64, 10000);
        QVERIFY(f.settle());
        const QVariantList shown = logs->logs();

        f.fault(QStringLiteral("get_user_logs"), fault, 3, 500, 0, notice);
        logs->setPage(2);
        QVERIFY(logs->loadingLogs());
        QVERIFY(f.settle(20000));
        QVERIFY(!logs->loadingLogs());
        QCOMPARE(logs->logs(), shown);    // the previous page stays in place
        QVERIFY(f.shell.notes.isEmpty()); // nothing in the main window's area
        if (notice.isEmpty()) {
            QVERIFY(sink.isEmpty());
        } else {
            QCOMPARE(sink.size(), 1);
            QCOMPARE(sink.first().message, notice);
            QCOMPARE(sink.first().level, Shell::Level::Error);
        }
    }

    void vanishedCaller()
    {
        SessionTestKit f;
        f.fault(QStringLiteral("get_user_logs"), QStringLiteral("delay"), -1, 500, 500);
        {
            auto logs = accountLogs(f);
            QTRY_COMPARE_WITH_TIMEOUT(f.api().pendingCount(), 1, 5000);
        } // the view went away with its request in flight
        QVERIFY(f.settle());
        QVERIFY(f.shell.notes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLogs)
#include "tst_logs.moc"
