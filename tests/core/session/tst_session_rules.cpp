// Rules that need no service: event rules, reading list entries, capabilities, the Remote Desktop text
// and the grid model's row operations.
#include "computer/computer.h"
#include "computer/computerdata.h"
#include "computer/rdpdisplay.h"
#include "modelrecorder.h"
#include "session/creditforecast.h"
#include "session/machinelistmodel.h"
#include "session/sessionevent.h"

#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

#include <memory>
#include <vector>

namespace {

QJsonObject entry(int id, const char *status = "running")
{
    return QJsonObject{{"vm_id", QString::number(id)}, {"status", status}};
}

std::unique_ptr<Computer> computer(int id, int status = Computer::Running, qint64 started = 0,
                                   const QString &name = QString())
{
    ComputerData d;
    d.identifier = id;
    d.status = status;
    d.lastStartedTime = started;
    d.userInstanceName = name.isEmpty() ? QStringLiteral("PC %1").arg(id) : name;
    return std::make_unique<Computer>(d, nullptr);
}

} // namespace

class TestSessionRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Polls that cross the running-time threshold or a snoozed reminder's due time, and the credits
    // monitor's limit, are the session list tests' running reminder and credit notices; a new power-on
    // period that passes the threshold between two polls is not reached there.
    void runningReminderAfterANewPeriod() { QVERIFY(EventRules::runningTimeCrossed(0, 130, 2)); }

    void hoursLeft_data()
    {
        QTest::addColumn<double>("balance");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("line");
        QTest::newRow("nothing burns") << 50.0 << 0.0 << QString();
        QTest::newRow("negative rate") << 50.0 << -1.0 << QString();
        QTest::newRow("rate not a number") << 50.0 << qQNaN() << QString();
        QTest::newRow("hours and minutes") << 27.25 << 1.9 << QStringLiteral("\u2248 14 h 20 min left");
        QTest::newRow("under an hour") << 1.0 << 1.5 << QStringLiteral("\u2248 40 min left");
        QTest::newRow("tiny balance") << 0.01 << 1.9 << QStringLiteral("\u2248 0 min left");
        QTest::newRow("zero balance") << 0.0 << 1.9 << QStringLiteral("\u2248 0 min left");
        QTest::newRow("negative balance") << -3.0 << 1.9 << QStringLiteral("\u2248 0 min left");
        QTest::newRow("just under 48 h") << 47.99 << 1.0 << QStringLiteral("\u2248 47 h 59 min left");
        QTest::newRow("48 h are days") << 48.0 << 1.0 << QStringLiteral("\u2248 2 days 0 h left");
        QTest::newRow("days and hours") << 76.5 << 1.0 << QStringLiteral("\u2248 3 days 4 h left");
        QTest::newRow("rate next to nothing")
            << 50.0 << 1e-300 << QStringLiteral("\u2248 41666 days 16 h left");
        QTest::newRow("quotient overflows") << 1e308 << 1e-10 << QString();
    }
    void hoursLeft()
    {
        QFETCH(double, balance);
        QFETCH(double, rate);
        QFETCH(QString, line);
        QCOMPARE(CreditForecast::hoursLeftText(CreditForecast::hoursLeft(balance, rate)), line);
    }

    // The guard's whole text is checked where the session gives it (the session list tests' credit guard).
    void rateText()
    {
        QCOMPARE(CreditForecast::rateText(2.0), QStringLiteral("2"));
        QCOMPARE(CreditForecast::rateText(0.125), QStringLiteral("0.125"));
    }

    // Hours left over successive polls and the guard's answers: once per crossing, armed again above the
    // threshold or when nothing burns.
    void guardOncePerCrossing_data()
    {
        QTest::addColumn<double>("threshold");
        QTest::addColumn<QList<double>>("hours"); // -1: nothing burns
        QTest::addColumn<QList<bool>>("fires");
        // Falling below, staying low, a purchase, the threshold itself and a threshold of 0 are the session
        // list tests' credit guard.
        QTest::newRow("all stopped re-arms")
            << 2.0 << QList<double>{1, -1, 1} << QList<bool>{true, false, true};
    }
    void guardOncePerCrossing()
    {
        QFETCH(double, threshold);
        QFETCH(QList<double>, hours);
        QFETCH(QList<bool>, fires);
        bool armed = true;
        QList<bool> seen;
        for (double h : hours) {
            const auto step =
                CreditForecast::guardStep(armed, h < 0 ? std::nullopt : std::optional(h), threshold);
            armed = step.armed;
            seen.append(step.fire);
        }
        QCOMPARE(seen, fires);
    }

    // A name that looks like a placeholder stays as it is.
    void runningTextKeepsPlaceholderLikeNames()
    {
        QCOMPARE(EventRules::runningForHoursText(QStringLiteral("Lab %2"), 3),
                 QStringLiteral("Machine \"Lab %2\" has been running for 3 hours."));
    }

    // An entry with no status counts as terminated, not as unusable.
    void readsAnEntryWithoutStatus()
    {
        ComputerData::Problem problem;
        const ComputerData d = ComputerData::fromJson(QJsonObject{{"vm_id", 7}}, &problem);
        QCOMPARE(problem, ComputerData::Problem::None);
        QCOMPARE(d.identifier, 7);
        QCOMPARE(d.status, int(Computer::Terminated));
    }

    void readsLooseTypes()
    {
        const QJsonObject o{{"vm_id", "42"},
                            {"status", "RUNNING"},
                            {"platform", "windows"},
                            {"favourite", "true"},
                            {"vm_rate", "1.25"},
                            {"vm_idle_rate", "junk"},
                            {"vm_poweron_time", "75"},
                            {"gce_start_time", "1700000000"},
                            {"vm_price_history_string", QJsonValue::Null},
                            {"vm_current_session_run_time", 12.5}};
        ComputerData::Problem problem;
        const ComputerData d = ComputerData::fromJson(o, &problem);
        QCOMPARE(problem, ComputerData::Problem::None);
        QCOMPARE(d.identifier, 42);
        QCOMPARE(d.status, int(Computer::Running));
        QCOMPARE(d.platform, int(Computer::Windows));
        QVERIFY(d.isFavourite);
        QCOMPARE(d.computerPowerOnRate, 1.25);
        QCOMPARE(d.computerIdleRate, 0.0);
        QCOMPARE(d.computerPowerOnTime, 75);
        QCOMPARE(d.lastStartedTime, Q_INT64_C(1700000000));
        QCOMPARE(d.priceHistoryStr, QString());
        QCOMPARE(d.sessionRunTime, 12.5);
    }

    // Identifiers may exceed the int range; a text is read exactly, beyond what a double holds.
    void identifiers_data()
    {
        QTest::addColumn<QJsonValue>("id");
        QTest::addColumn<qint64>("read");
        QTest::newRow("text") << QJsonValue("42") << Q_INT64_C(42);
        QTest::newRow("number") << QJsonValue(42) << Q_INT64_C(42);
        QTest::newRow("text past the int range") << QJsonValue("3000000000") << Q_INT64_C(3000000000);
        QTest::newRow("number past the int range") << QJsonValue(3000000000.0) << Q_INT64_C(3000000000);
        QTest::newRow("text past a double's precision")
            << QJsonValue("9007199254740993") << Q_INT64_C(9007199254740993);
        QTest::newRow("spaces") << QJsonValue(" 7 ") << Q_INT64_C(7);
        QTest::newRow("fraction") << QJsonValue("4.9") << Q_INT64_C(4);
        QTest::newRow("beyond 64 bits") << QJsonValue("1e30") << Q_INT64_C(-1);
    }
    void identifiers()
    {
        QFETCH(QJsonValue, id);
        ComputerData::Problem problem;
        QTEST(ComputerData::fromJson(QJsonObject{{"vm_id", id}, {"status", "running"}}, &problem).identifier,
              "read");
    }

    void unusableEntries_data()
    {
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<ComputerData::Problem>("problem");
        QTest::newRow("empty status") << QJsonValue(entry(1, "")) << ComputerData::Problem::EmptyStatus;
        QTest::newRow("unknown status")
            << QJsonValue(entry(1, "exploded")) << ComputerData::Problem::UnknownStatus;
        QTest::newRow("no id") << QJsonValue(QJsonObject{{"status", "running"}})
                               << ComputerData::Problem::NoIdentifier;
        QTest::newRow("id not a number") << QJsonValue(QJsonObject{{"vm_id", "x"}, {"status", "running"}})
                                         << ComputerData::Problem::NoIdentifier;
        QTest::newRow("not an object")
            << QJsonValue(QStringLiteral("vm")) << ComputerData::Problem::NotAnObject;
        QTest::newRow("status not a text")
            << QJsonValue(QJsonObject{{"vm_id", 3}, {"status", 5}}) << ComputerData::Problem::None;
    }
    void unusableEntries()
    {
        QFETCH(QJsonValue, value);
        QFETCH(ComputerData::Problem, problem);
        ComputerData::Problem found;
        (void)ComputerData::fromJson(value, &found);
        QCOMPARE(found, problem);
    }

    void capabilities_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("canStart");
        QTest::addColumn<bool>("canStop");
        QTest::addColumn<bool>("canDelete");
        const int running[] = {Computer::PendingProvisioning, Computer::Provisioning, Computer::Staging,
                               Computer::Running};
        for (int s : running)
            QTest::addRow("%s", qPrintable(Computer::statusLabel(s))) << s << false << false << true << true;
        const int stopped[] = {Computer::Stopping,  Computer::Suspending, Computer::Suspended,
                               Computer::Repairing, Computer::Terminated, 42};
        for (int s : stopped)
            QTest::addRow("%s %d", qPrintable(Computer::statusLabel(s)), s)
                << s << false << true << false << true;
        QTest::newRow("Deleted") << int(Computer::Deleted) << false << false << false << false;
        QTest::newRow("Running, busy") << int(Computer::Running) << true << false << false << false;
        QTest::newRow("Terminated, busy") << int(Computer::Terminated) << true << false << false << false;
    }
    void capabilities()
    {
        QFETCH(int, status);
        QFETCH(bool, busy);
        auto c = computer(1, status);
        c->setStatusChanging(busy);
        QTEST(c->canStart(), "canStart");
        QTEST(c->canStop(), "canStop");
        QTEST(c->canDelete(), "canDelete");
    }

    void connectionData_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << "10.0.0.5:3389"
                               << "alice" << true;
        QTest::newRow("host name, non-ASCII user") << "pc.example" << QString::fromUtf8("bj\u00f6rn") << true;
        QTest::newRow("option-like address stays data") << "/drive:home,/"
                                                        << "+clipboard" << true;
        QTest::newRow("CR LF in address") << "10.0.0.5\r\ndrivestoredirect:s:*"
                                          << "alice" << false;
        QTest::newRow("LF in user") << "10.0.0.5"
                                    << "alice\nalternate shell:s:cmd" << false;
        QTest::newRow("tab") << "10.0.0.5\t"
                             << "alice" << false;
        QTest::newRow("NUL") << QString::fromUtf8("10.0.0.5\0x", 10) << "alice" << false;
        QTest::newRow("DEL") << "10.0.0.5"
                             << "al\x7fice" << false;
        QTest::newRow("C1 next line") << QString::fromUtf8("10.0.0.5\u0085") << "alice" << false;
        QTest::newRow("line separator") << QString::fromUtf8("10.0.0.5\u2028x") << "alice" << false;
    }

    void connectionData()
    {
        QFETCH(QString, address);
        QFETCH(QString, user);
        auto c = computer(1);
        c->setRdpPublicAddress(address);
        c->setUsername(user);
        QTEST(c->hasSafeConnectionData(), "safe");
    }

    // Each display setting: its connection file lines, and the FreeRDP options the launcher reads back from
    // the connection text.
    void rdpDisplay_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("monitors");
        QTest::addColumn<bool>("dynamic");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("defaults add nothing")
            << 0 << 1280 << 800 << false << false << 100 << QStringList() << QStringList();
        QTest::newRow("full screen") << 1 << 1280 << 800 << false << false << 100
                                     << QStringList{"screen mode id:i:2"} << QStringList{"/f"};
        QTest::newRow("window with a size")
            << 2 << 1600 << 900 << false << false << 100
            << QStringList{"screen mode id:i:1", "desktopwidth:i:1600", "desktopheight:i:900"}
            << QStringList{"/size:1600x900"};
        QTest::newRow("window size kept in range")
            << 2 << 10 << 99999 << false << false << 100
            << QStringList{"screen mode id:i:1", "desktopwidth:i:640", "desktopheight:i:8192"}
            << QStringList{"/size:640x8192"};
        QTest::newRow("all monitors") << 0 << 0 << 0 << true << false << 100
                                      << QStringList{"use multimon:i:1"} << QStringList{"/multimon"};
        QTest::newRow("dynamic resolution")
            << 0 << 0 << 0 << false << true << 100 << QStringList{"dynamic resolution:i:1"}
            << QStringList{"/dynamic-resolution"};
        QTest::newRow("scale") << 0 << 0 << 0 << false << false << 150
                               << QStringList{"desktopscalefactor:i:150"}
                               << QStringList{"/scale-desktop:150"};
        QTest::newRow("scale to the nearest step")
            << 0 << 0 << 0 << false << false << 290 << QStringList{"desktopscalefactor:i:300"}
            << QStringList{"/scale-desktop:300"};
        QTest::newRow("everything") << 1 << 0 << 0 << true << true << 200
                                    << QStringList{"screen mode id:i:2", "use multimon:i:1",
                                                   "dynamic resolution:i:1", "desktopscalefactor:i:200"}
                                    << QStringList{"/f", "/multimon", "/dynamic-resolution",
                                                   "/scale-desktop:200"};
    }
    void rdpDisplay()
    {
        QFETCH(int, mode);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, monitors);
        QFETCH(bool, dynamic);
        QFETCH(int, scale);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, arguments);
        RdpDisplay display;
        display.mode = mode;
        display.windowWidth = width;
        display.windowHeight = height;
        display.allMonitors = monitors;
        display.dynamicResolution = dynamic;
        display.scalePercent = scale;
        QCOMPARE(display.fileLines(), lines);
        auto c = computer(1);
        c->setRdpPublicAddress(QStringLiteral("10.0.0.5"));
        c->setUsername(QStringLiteral("alice"));
        const QString text = c->rdpFileContents(QStringLiteral("01ab"), display.fileLines());
        const QStringList base{"full address:s:10.0.0.5", "username:s:alice", "password 51:b:01ab",
                               "remoteapplicationmode:i:0"};
        QCOMPARE(text, (base + lines).join(QStringLiteral("\r\n")));
        QCOMPARE(RdpDisplay::freeRdpArguments(text), arguments);
    }

    // Only whole numbers in range of the display keys become options.
    void rdpDisplayArgumentsIgnoreOtherValues()
    {
        const QString text =
            QStringLiteral("full address:s:/f\r\nscreen mode id:i:x\r\ndesktopscalefactor:i:130"
                           "\r\nuse multimon:s:1\r\nscreen mode id:i:1\r\ndesktopwidth:i:5");
        QCOMPARE(RdpDisplay::freeRdpArguments(text), QStringList());
    }

    // The model follows any change of content and order with removals, appends and moves only: never a
    // reset, at most one move per row, and the rows equal the target afterwards.
    void modelFollowsRandomChanges()
    {
        std::vector<std::unique_ptr<Computer>> pool;
        for (int id = 0; id < 60; ++id)
            pool.push_back(computer(id));
        MachineListModel model;
        ModelRecorder recorder(&model);
        QRandomGenerator rng(5);
        for (int round = 0; round < 200; ++round) {
            QList<Computer *> target;
            for (auto &c : pool) {
                if (rng.bounded(4) != 0)
                    target.append(c.get());
            }
            for (int i = int(target.size()) - 1; i > 0; --i)
                target.swapItemsAt(i, int(rng.bounded(i + 1)));
            recorder.clear();
            const int before = model.rowCount();
            model.sync(target);
            QCOMPARE(model.machines(), target);
            QCOMPARE(recorder.resets, 0);
            QCOMPARE(recorder.layoutChanges, 0);
            QVERIFY(recorder.maxMovesOfOneRow() <= 1);
            QCOMPARE(before - recorder.removed + recorder.inserted, int(target.size()));
        }
    }

    void modelMinimalOperations()
    {
        std::vector<std::unique_ptr<Computer>> pool;
        QList<Computer *> rows;
        for (int id = 0; id < 8; ++id) {
            pool.push_back(computer(id));
            rows.append(pool.back().get());
        }
        MachineListModel model;
        model.sync(rows);
        ModelRecorder recorder(&model);

        // One row that goes to the end is one move, not one per row it passes.
        QList<Computer *> target = rows;
        target.move(0, 7);
        model.sync(target);
        QCOMPARE(recorder.moves, 1);
        QCOMPARE(model.machines(), target);

        // A new and a vanished computer together: the session list tests' grid model.
        // Nothing changed: nothing happens.
        recorder.clear();
        model.sync(target);
        QCOMPARE(recorder.operations(), 0);
    }

    void modelKeepsRecordOfSameIdentifier()
    {
        auto first = computer(1);
        auto twin = computer(1);
        MachineListModel model;
        model.sync({first.get()});
        model.sync({twin.get()});
        QCOMPARE(model.get(0), first.get());
        QCOMPARE(model.data(model.index(0), MachineListModel::MachineRole).value<QObject *>(), first.get());
    }
};

QTEST_GUILESS_MAIN(TestSessionRules)
#include "tst_session_rules.moc"
