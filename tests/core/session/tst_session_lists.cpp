// The session's lists: merging poll replies, the derived lists and their recomputation, the grid models,
// filters, selection, bulk confirmations, preferences, event notices, payments, the per-view controllers
// and banners.
#include "logs/logscontroller.h"
#include "modelrecorder.h"
#include "records/userpayment.h"
#include "session/traymenu.h"
#include "sessiontestkit.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

QJsonObject vm(int id, const QString &name, const QString &status = QStringLiteral("running"),
               qint64 started = 0, bool favourite = false,
               const QString &platform = QStringLiteral("windows"), double runMinutes = 0)
{
    return QJsonObject{{"vm_id", QString::number(id)},
                       {"vm_user_instance_name", name},
                       {"status", status},
                       {"gce_start_time", QString::number(started)},
                       {"favourite", favourite ? "true" : "false"},
                       {"platform", platform},
                       {"vm_current_session_run_time", runMinutes},
                       {"vm_rate", "1.0"},
                       {"vm_idle_rate", "0.1"}};
}

QList<int> ids(const QList<Computer *> &list)
{
    QList<int> result;
    for (Computer *c : list)
        result.append(c->identifier());
    return result;
}

QList<int> ids(const MachineListModel *model)
{
    return ids(model->machines());
}

const char *const kEmptyStatusWarning =
    "API has returned a Computer with no status.\nIf you are unable to see or interact with any of your "
    "machines please contact support.";

} // namespace

class TestSessionLists : public QObject {
    Q_OBJECT

    std::unique_ptr<SessionTestKit> kit;
    std::unique_ptr<MainContext> session;

private Q_SLOTS:
    void init()
    {
        kit = std::make_unique<SessionTestKit>();
        session = kit->newSession();
        QVERIFY(kit->settle());
        kit->shell.notes.clear();
    }
    void cleanup()
    {
        session.reset();
        kit.reset();
    }

    void mergeNewChangedVanished()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A"), vm(2, "B"), vm(3, "C")});
        QCOMPARE(ids(session->computers()), (QList<int>{1, 2, 3}));
        Computer *b = session->computerById(2);
        QVERIFY(b);

        session->updateNewVmInstances(QJsonArray{vm(4, "D"), vm(3, "C"), vm(2, "B renamed")});
        // Survivors keep their order and their objects; new ones follow in reply order.
        QCOMPARE(ids(session->computers()), (QList<int>{2, 3, 4}));
        QCOMPARE(session->computerById(2), b);
        QCOMPARE(b->userInstanceName(), QStringLiteral("B renamed"));
        QVERIFY(!session->computerById(1));
        QVERIFY(!ids(session->visibleStandardMachinesModel()).contains(1));
        QVERIFY(ids(session->visibleStandardMachinesModel()).contains(4));

        // The service's object form (keyed by identifier) reads the same, new ones in the order of the
        // keys as numbers ("9" before "10", though the object holds them in text order).
        QJsonObject keyed{{"3", vm(3, "C")}, {"10", vm(10, "J")}, {"9", vm(9, "I")}, {"100", vm(100, "K")}};
        session->updateNewVmInstances(keyed);
        QCOMPARE(ids(session->computers()), (QList<int>{3, 9, 10, 100}));
    }

    void mergeSkipsEmptyAndUnknownStatus()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A"), vm(2, "B"), vm(3, "C")});
        session->updateNewVmInstances(QJsonArray{vm(1, "A"), vm(2, "B", ""), vm(3, "C", "melted")});
        // Both leave the list; only the empty status is reported to the user, at every poll.
        QCOMPARE(ids(session->computers()), QList<int>{1});
        QCOMPARE(kit->shell.count(QString::fromUtf8(kEmptyStatusWarning)), 1);
        QCOMPARE(kit->shell.notes.size(), 1);
        QCOMPARE(kit->shell.notes.first().level, Shell::Level::Warning);
        session->updateNewVmInstances(QJsonArray{vm(1, "A"), vm(2, "B", "")});
        QCOMPARE(kit->shell.count(QString::fromUtf8(kEmptyStatusWarning)), 2);
        // A status in capitals is still known.
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "TERMINATED")});
        QCOMPARE(session->computerById(1)->status(), int(Computer::Terminated));
    }

    // An unchanged entry is not read again, but whatever was changed locally since (an optimistic status,
    // a name) is still overwritten by the service's values.
    void identicalPollUndoesLocalChanges()
    {
        const QJsonArray reply{vm(1, "A", "terminated"), vm(2, "B", "running")};
        session->updateNewVmInstances(reply);
        Computer *a = session->computerById(1);
        a->setStatus(Computer::Provisioning);
        a->setUserInstanceName(QStringLiteral("Local"));
        session->updateNewVmInstances(reply);
        QCOMPARE(a->status(), int(Computer::Terminated));
        QCOMPARE(a->userInstanceName(), QStringLiteral("A"));

        // Entries that change places, vanish and come back are read afresh.
        session->updateNewVmInstances(QJsonArray{vm(2, "B", "running"), vm(1, "A", "terminated")});
        session->updateNewVmInstances(QJsonArray{vm(2, "B2", "running")});
        QCOMPARE(ids(session->computers()), QList<int>{2});
        QCOMPARE(session->computerById(2)->userInstanceName(), QStringLiteral("B2"));
        session->updateNewVmInstances(reply);
        QCOMPARE(ids(session->computers()), (QList<int>{2, 1}));
        QVERIFY(session->computerById(1) != a); // a computer that left comes back as a new record
        QCOMPARE(session->computerById(1)->status(), int(Computer::Terminated));
        QCOMPARE(session->computerById(2)->userInstanceName(), QStringLiteral("B"));
        // The same entry twice in one reply makes one record.
        session->updateNewVmInstances(QJsonArray{vm(3, "C"), vm(3, "C")});
        QCOMPARE(ids(session->computers()), QList<int>{3});
    }

    void onePollRecomputesOnce()
    {
        QJsonArray reply;
        for (int id = 1; id <= 200; ++id)
            reply.append(vm(id, QStringLiteral("PC %1").arg(id), QStringLiteral("running"), id));
        session->updateNewVmInstances(reply);
        QCoreApplication::processEvents();
        const int before = session->derivedListsRecomputations();
        for (int i = 0; i < reply.size(); i += 3) {
            QJsonObject o = reply[i].toObject();
            o["status"] = "stopping";
            o["vm_user_instance_name"] = QStringLiteral("Changed %1").arg(i);
            reply[i] = o;
        }
        session->updateNewVmInstances(reply);
        QCoreApplication::processEvents();
        QCOMPARE(session->derivedListsRecomputations(), before + 1);
    }

    void singleChangeOutsidePollRecomputes()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A"), vm(2, "B")});
        Computer *a = session->computerById(1);
        const int before = session->derivedListsRecomputations();
        a->setStatus(Computer::Deleted); // deleted computers are hidden by default
        a->setUserInstanceName(QStringLiteral("A2"));
        QTRY_COMPARE(ids(session->visibleComputers()), QList<int>{2});
        QCOMPARE(ids(session->visibleStandardMachinesModel()), QList<int>{2});
        QCoreApplication::processEvents();
        QCOMPARE(session->derivedListsRecomputations(), before + 1);
    }

    void orderingByEachProperty_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<QList<int>>("expected");
        // Ties go to the higher identifier; pending provisioning ranks after deleted.
        QTest::newRow("activity") << int(Computer::LastStartedTime) << QList<int>{2, 5, 1, 4, 3};
        QTest::newRow("name") << int(Computer::UserInstanceName) << QList<int>{3, 4, 1, 2, 5};
        QTest::newRow("status") << int(Computer::StatusProperty) << QList<int>{2, 1, 5, 4, 3};
    }
    void orderingByEachProperty()
    {
        QFETCH(int, order);
        QFETCH(QList<int>, expected);
        session->setFilterStatusDeleted(false);
        session->updateNewVmInstances(QJsonArray{vm(1, "beta", "running", 1000),
                                                 vm(2, "delta", "running", 2000),
                                                 vm(3, "Alpha", "pending_provisioning"),
                                                 vm(4, "beta", "deleted"), vm(5, "echo", "deleted", 1000)});
        ModelRecorder recorder(session->visibleStandardMachinesModel());
        session->setComputerOrder(order);
        QTRY_COMPARE(ids(session->visibleComputers()), expected);
        QCOMPARE(ids(session->visibleStandardMachinesModel()), expected);
        QCOMPARE(recorder.resets, 0);
        QCOMPARE(recorder.inserted + recorder.removed, 0);
        QVERIFY(recorder.maxMovesOfOneRow() <= 1);
    }

    void modelSeesOnlyInsertsRemovesAndMoves()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "running", 100), vm(2, "B", "running", 200),
                                                 vm(3, "C", "running", 300), vm(4, "D", "running", 400)});
        MachineListModel *model = session->visibleStandardMachinesModel();
        QCOMPARE(ids(model), (QList<int>{4, 3, 2, 1}));
        ModelRecorder recorder(model);
        // 2 vanishes, 5 is new and lands in the middle, 1 was just started and goes first.
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "running", 900), vm(3, "C", "running", 300),
                                                 vm(4, "D", "running", 400), vm(5, "E", "running", 350)});
        QCOMPARE(ids(model), (QList<int>{1, 4, 5, 3}));
        QCOMPARE(recorder.removed, 1);
        QCOMPARE(recorder.inserted, 1);
        QCOMPARE(recorder.moves, 2);
        QCOMPARE(recorder.resets, 0);
        QCOMPARE(recorder.layoutChanges, 0);
        QVERIFY(recorder.maxMovesOfOneRow() <= 1);

        // Favourites go to their own model; a deleted favourite is hidden, and shown as standard.
        recorder.clear();
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "running", 900, true),
                                                 vm(3, "C", "deleted", 300, true), vm(4, "D", "running", 400),
                                                 vm(5, "E", "running", 350)});
        QCOMPARE(ids(session->visibleFavouriteMachinesModel()), QList<int>{1});
        QCOMPARE(ids(model), (QList<int>{4, 5}));
        session->setFilterStatusDeleted(false);
        QTRY_COMPARE(ids(model), (QList<int>{4, 5, 3}));
        QCOMPARE(recorder.resets, 0);
    }

    void filters_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QList<int>>("visible");
        QTest::newRow("defaults hide deleted") << QString() << QVariant() << QList<int>{1, 2, 3, 4};
        QTest::newRow("show deleted")
            << "filterStatusDeleted" << QVariant(false) << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("hide running") << "filterStatusRunning" << QVariant(true) << QList<int>{4};
        QTest::newRow("hide windows") << "filterPlatformWindows" << QVariant(true) << QList<int>{3};
        QTest::newRow("hide linux") << "filterPlatformLinux" << QVariant(true) << QList<int>{1, 2, 4};
        QTest::newRow("name Lab is case-sensitive")
            << "filterUserInstanceName" << QVariant("Lab") << QList<int>{1, 3};
        QTest::newRow("empty name keeps all")
            << "filterUserInstanceName" << QVariant("") << QList<int>{1, 2, 3, 4};
    }
    void filters()
    {
        QFETCH(QString, setting);
        QFETCH(QVariant, value);
        QFETCH(QList<int>, visible);
        session->setComputerOrder(Computer::StatusProperty);
        session->updateNewVmInstances(QJsonArray{
            vm(1, "Lab 1", "running", 0, false, "windows"), vm(2, "lab 2", "running", 0, false, "windows"),
            vm(3, "MyLab", "running", 0, false, "linux"), vm(4, "Other", "stopping", 0, false, "windows"),
            vm(5, "Gone", "deleted", 0, true, "windows")});
        if (!setting.isEmpty())
            QVERIFY(session->setProperty(setting.toLatin1(), value));
        const auto sortedVisible = [this] {
            QList<int> list = ids(session->visibleComputers());
            std::sort(list.begin(), list.end());
            return list;
        };
        QTRY_COMPARE(sortedVisible(), visible);
    }

    void filteredEnumerations()
    {
        session->setFilterStatusRunning(true);
        session->setFilterPlatformMac(true);
        QTRY_COMPARE(session->filteredStatuses(), (QList<int>{Computer::Running, Computer::Deleted}));
        QCOMPARE(session->filteredPlatforms(), QList<int>{Computer::Mac});
    }

    void selectionAndBurnRates()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "running"), vm(2, "B", "terminated"),
                                                 vm(3, "C", "deleted"), vm(4, "D", "running")});
        session->setSelectedComputers({1, 2, 3});
        QTRY_COMPARE(ids(session->startableComputers()), QList<int>{2});
        QCOMPARE(ids(session->stoppableComputers()), QList<int>{1});
        // The hidden (deleted) selected computer is in none of the lists.
        QCOMPARE(ids(session->deletableComputers()), (QList<int>{2, 1})); // visible order
        QCOMPARE(session->currentBurnRate(), 1.0 + 0.1 + 0 + 1.0);
        QCOMPARE(session->selectedBurnRate(), 1.0 + 0.1);
        // A computer that becomes busy leaves the lists.
        session->computerById(2)->setStatusChanging(true);
        QTRY_VERIFY(session->startableComputers().isEmpty());
    }

    void bulkConfirmation_data()
    {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("okText");
        QTest::newRow("stop one") << "stop" << 1 << "Stop Office?"
                                  << "Are you sure you want to stop Office?"
                                  << "Stop";
        QTest::newRow("stop three") << "stop" << 3 << "Stop 3 computers?"
                                    << "Are you sure you want to stop 3 computers?"
                                    << "Stop";
        QTest::newRow("start one") << "start" << 1 << "Start Office?"
                                   << "Are you sure you want to start Office?"
                                   << "Start";
        QTest::newRow("reboot three") << "reboot" << 3 << "Reboot 3 computers?"
                                      << "Are you sure you want to reboot 3 computers?"
                                      << "Reboot";
    }
    void bulkConfirmation()
    {
        QFETCH(QString, verb);
        QFETCH(int, count);
        session->updateNewVmInstances(QJsonArray{vm(1, "Office"), vm(2, "B"), vm(3, "C")});
        QList<Computer *> targets;
        for (int id = 1; id <= count; ++id)
            targets.append(session->computerById(id));
        if (verb == QLatin1String("stop"))
            session->stopInstances(targets);
        else if (verb == QLatin1String("start"))
            session->startInstances(targets);
        else
            session->resetInstances(targets);
        QCOMPARE(kit->shell.confirmations.size(), 1);
        const auto &asked = kit->shell.confirmations.first();
        QTEST(asked.title, "title");
        QTEST(asked.message, "message");
        QTEST(asked.okText, "okText");
        QCOMPARE(asked.cancelText, QStringLiteral("Cancel"));
        for (Computer *c : targets)
            QVERIFY(!c->statusChanging());
        asked.accepted();
        for (Computer *c : targets)
            QVERIFY(c->statusChanging());
        QVERIFY(!session->computerById(3)->statusChanging() || count == 3);
    }

    void bulkWithoutConfirmation()
    {
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "terminated"), vm(2, "B", "running")});
        session->setConfirmationPopupsEnabled(false);
        session->setSelectedComputers({1, 2});
        QTRY_COMPARE(ids(session->startableComputers()), QList<int>{1});
        session->startInstances(session->startableComputers());
        QVERIFY(kit->shell.confirmations.isEmpty());
        QVERIFY(session->computerById(1)->statusChanging());
        QVERIFY(!session->computerById(2)->statusChanging());
        // Forced confirmation asks anyway; an empty list asks nothing.
        session->performInstancesAction(QList<Computer *>{session->computerById(2)}, QStringLiteral("stop"),
                                        QStringLiteral("stopUserVMInstance"), true);
        QCOMPARE(kit->shell.confirmations.size(), 1);
        session->stopInstances(QList<Computer *>{});
        QCOMPARE(kit->shell.confirmations.size(), 1);
    }

    void preferencesPersistAtOnce()
    {
        session->setFilterStatusRunning(true);
        session->setFilterUserInstanceName(QStringLiteral("Lab"));
        session->setComputerOrder(Computer::StatusProperty);
        session->storeEncryptedPassword(7, QStringLiteral("enc:aa"));
        session->storeEncryptedPassword(8, QStringLiteral("enc:bb"));
        {
            // Another reader of the same file sees the values at once.
            QSettings reader(kit->settings().fileName(), QSettings::IniFormat);
            QCOMPARE(reader.value("filterStatusRunning").toBool(), true);
            QCOMPARE(reader.value("filterUserInstanceName").toString(), QStringLiteral("Lab"));
            QCOMPARE(reader.value("computerOrder").toInt(), int(Computer::StatusProperty));
            QCOMPARE(reader.value("computerEncryptedPasswords").toMap().size(), 2);
        }
        session.reset();
        session = kit->newSession();
        QCOMPARE(session->filterStatusRunning(), true);
        QCOMPARE(session->filterUserInstanceName(), QStringLiteral("Lab"));
        QCOMPARE(session->computerOrder(), int(Computer::StatusProperty));
        QCOMPARE(session->encryptedPasswordFor(8), QStringLiteral("enc:bb"));
        QCOMPARE(session->encryptedPasswordFor(9), QString());
    }

    void refreshInterval_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("ms");
        QTest::newRow("default") << std::log10(7000.0) << 7000;
        QTest::newRow("slider low end") << std::log10(3000.0) << 3000;
        QTest::newRow("slider high end") << std::log10(30000.0) << 30000;
        QTest::newRow("damaged value") << -50.0 << 1000;
    }
    void refreshInterval()
    {
        QFETCH(double, rate);
        session->setRefreshRate(rate);
        QTEST(session->refreshInstancesTimer()->interval(), "ms");
        QTEST(session->refreshIntervalMs(), "ms");
    }

    // Every combination of an event's two switches and the master switch.
    void eventSwitches_data()
    {
        QTest::addColumn<bool>("app");
        QTest::addColumn<bool>("system");
        QTest::addColumn<bool>("master");
        QTest::addColumn<int>("inApp");
        QTest::addColumn<int>("toasts");
        for (int bits = 0; bits < 8; ++bits) {
            const bool app = bits & 1, system = bits & 2, master = bits & 4;
            QTest::addRow("app=%d system=%d disableAll=%d", app, system, master)
                << app << system << master << int(app && !master) << int(system);
        }
    }
    void eventSwitches()
    {
        QFETCH(bool, app);
        QFETCH(bool, system);
        QFETCH(bool, master);
        session->setStartedMachineNotificationApp(app);
        session->setStartedMachineNotificationSystem(system);
        session->setDisableAllNotifications(master);
        session->raiseEvent(SessionEvent::MachineStarted, QStringLiteral("Started."));
        session->raiseEvent(SessionEvent::MachineStopped, QStringLiteral("Stopped.")); // other switches: on
        QTEST(int(kit->shell.count(QStringLiteral("Started."))), "inApp");
        QTEST(int(kit->host.systemNotes.count(QStringLiteral("Started."))), "toasts");
        QCOMPARE(kit->shell.count(QStringLiteral("Stopped.")), master ? 0 : 1);
        QCOMPARE(kit->host.systemNotes.count(QStringLiteral("Stopped.")), 1);
        // A success value that was not text ({"success": true}) gives no text: nothing is raised at all.
        kit->shell.notes.clear();
        kit->host.systemNotes.clear();
        session->raiseEvent(SessionEvent::MachineStopped, QString());
        session->raiseEvent(SessionEvent::MachineStopped, QStringLiteral("  "));
        QVERIFY(kit->shell.notes.isEmpty());
        QVERIFY(kit->host.systemNotes.isEmpty());
    }

    // The master switch silences the session's controllers too, the service's own error texts included.
    void masterSwitchCoversTheControllers_data()
    {
        QTest::addColumn<bool>("master");
        QTest::newRow("notifications on") << false;
        QTest::newRow("all notifications off") << true;
    }
    void masterSwitchCoversTheControllers()
    {
        QFETCH(bool, master);
        session->setDisableAllNotifications(master);
        kit->fault(QStringLiteral("update_user_data"), QStringLiteral("error_message"), 2, 500, 0,
                   QStringLiteral("Not now"));
        QVERIFY(session->emailPreferences()->toggleEmail(1));
        ProfileEditor *editor = session->createProfileEditor(session.get());
        editor->save();
        QTRY_COMPARE_WITH_TIMEOUT(kit->requests(QStringLiteral("update_user_data")).size(), 2, 10000);
        QVERIFY(kit->settle());
        LogsController *logs = session->createAccountLogs(session.get());
        kit->fault(QStringLiteral("get_user_logs"), QStringLiteral("error_message"), 1, 500, 0,
                   QStringLiteral("No logs"));
        logs->getLogs(1, 10, false);
        QVERIFY(kit->settle());
        const QStringList shown{QStringLiteral("Not now"), QStringLiteral("Not now"),
                                QStringLiteral("No logs")};
        QCOMPARE(kit->shell.messages(), master ? QStringList() : shown);
    }

    // A computer id past the int range keeps its stored password and its selection.
    void largeIdentifiers()
    {
        const qint64 id = Q_INT64_C(3000000000);
        session->storeEncryptedPassword(id, QStringLiteral("enc:01"));
        QCOMPARE(session->computerEncryptedPasswords().keys(), QStringList{QStringLiteral("3000000000")});
        QCOMPARE(session->encryptedPasswordFor(id), QStringLiteral("enc:01"));
        QCOMPARE(session->encryptedPasswordFor(Q_INT64_C(3000000000) - (Q_INT64_C(1) << 32)), QString());
        session->selectComputer(id, false);
        QCOMPARE(session->selectedComputers(), QList<qint64>{id});
    }

    // The credit notices over successive balances: each once, only for credits once bought, the monitor's
    // warning in the window only.
    void creditNotices_data()
    {
        QTest::addColumn<bool>("owned");
        QTest::addColumn<QList<double>>("balances");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("depleted");
        QTest::addColumn<int>("monitor");
        QTest::newRow("falling to nothing") << true << QList<double>{4, 4, 3, 2, 0, 0} << 1 << 1 << 1;
        QTest::newRow("never bought") << false << QList<double>{4, 0} << 0 << 0 << 1;
        QTest::newRow("first balance never warns") << true << QList<double>{10, 2} << 1 << 0 << 1;
        QTest::newRow("first balance below the monitor's limit")
            << true << QList<double>{2, 1} << 1 << 0 << 0;
        QTest::newRow("above the threshold") << true << QList<double>{6} << 0 << 0 << 0;
        QTest::newRow("at the threshold is low") << true << QList<double>{5} << 1 << 0 << 0;
        QTest::newRow("below nothing is depleted") << true << QList<double>{-1} << 0 << 1 << 0;
    }
    void creditNotices()
    {
        QFETCH(bool, owned);
        QFETCH(QList<double>, balances);
        QFETCH(int, low);
        QFETCH(int, depleted);
        const QString lowText = QStringLiteral("Your credits are running low.");
        const QString monitorText =
            QStringLiteral("Looks like you are running low on credits.\nConsider purchasing more "
                           "otherwise running machines will be stopped soon.");
        kit->user().setLowCreditsThreshold(5);
        kit->user().setHasOwnedCredits(owned);
        for (double credits : balances)
            session->applyUserData(QJsonObject{{"user_credit", QString::number(credits)}});
        QCOMPARE(kit->shell.count(lowText), low);
        QCOMPARE(kit->host.systemNotes.count(lowText), low);
        QCOMPARE(kit->shell.count(QStringLiteral("Your credits are depleted.")), depleted);
        QTEST(kit->shell.count(monitorText), "monitor");
        QCOMPARE(kit->host.systemNotes.count(monitorText), 0);
        QCOMPARE(session->lowCreditsNotificationShown(), low > 0);
        QCOMPARE(session->creditsDepletedNotificationShown(), depleted > 0);
        QCOMPARE(session->oldCredits(), balances.last());
        if (depleted)
            QCOMPARE(kit->shell.notes.last().level, Shell::Level::Error);
    }

    // A new sign-in gives each notice once more; with both switches off it still counts as given.
    void creditNoticesOnceMorePerSignIn()
    {
        kit->user().setLowCreditsThreshold(5);
        session->applyUserData(QJsonObject{{"user_credit", "4"}});
        session = kit->newSession();
        session->setLowCreditsNotificationApp(false);
        session->setLowCreditsNotificationSystem(false);
        session->applyUserData(QJsonObject{{"user_credit", "4"}});
        QVERIFY(session->lowCreditsNotificationShown());
        QCOMPARE(kit->shell.count(QStringLiteral("Your credits are running low.")), 1);
    }

    void creditNoticesUseThresholdBeforeReply()
    {
        kit->user().setLowCreditsThreshold(1);
        // The reply's own threshold applies from the next refresh on.
        session->applyUserData(QJsonObject{{"user_credit", "4"}, {"low_credits_threshold", "10"}});
        QCOMPARE(kit->shell.count(QStringLiteral("Your credits are running low.")), 0);
        QCOMPARE(kit->user().lowCreditsThreshold(), 10.0);
        session->applyUserData(QJsonObject{{"user_credit", "4"}});
        QCOMPARE(kit->shell.count(QStringLiteral("Your credits are running low.")), 1);
    }

    void userDataFieldRules()
    {
        User &user = kit->user();
        user.setMachineRunningForXHours(4);
        user.setNotificationLowCredits(true);
        session->applyUserData(QJsonObject{{"user_credit", ""}, {"low_credits_threshold", ""}});
        QCOMPARE(user.credits(), 0.0);
        QCOMPARE(user.lowCreditsThreshold(), 5.0);
        QCOMPARE(user.machineRunningForXHours(), -1);
        QCOMPARE(user.notificationLowCredits(), false);
        session->applyUserData(QJsonObject{{"machine_running_for_x_hours_value", "4"}});
        QCOMPARE(user.machineRunningForXHours(), 4);
    }

    // The running-time reminder fires when a poll crosses the hours (not at first sight, not while off);
    // "Keep running" reminds again the same hours later, "Stop" stops without asking.
    void runningReminder()
    {
        kit->user().setMachineRunningForXHours(2);
        const QString text = QStringLiteral("Machine \"Lab\" has been running for 2 hours.");
        const auto poll = [this](double minutes) {
            session->updateNewVmInstances(QJsonArray{vm(1, "Lab", "running", 0, false, "linux", minutes)});
        };
        poll(130); // first sight
        kit->user().setMachineRunningForXHours(-1);
        poll(0);
        poll(9000);
        QVERIFY(kit->shell.notes.isEmpty());
        kit->user().setMachineRunningForXHours(2);
        poll(10);
        poll(119);
        poll(120); // exactly the threshold
        QCOMPARE(kit->shell.count(text), 1);
        QCOMPARE(kit->host.systemNotes.count(text), 1);
        QCOMPARE(kit->host.actionKeys, QList<QStringList>{QStringList({"stop", "keep-running"})});
        kit->host.responses.last()(QStringLiteral("keep-running"));
        for (double minutes : {140, 200, 239})
            poll(minutes);
        QCOMPARE(kit->shell.count(text), 1);
        // Reminded again, with the hours it has run by now.
        const QString again = QStringLiteral("Machine \"Lab\" has been running for 4 hours.");
        poll(240); // exactly when the snooze is due
        QCOMPARE(kit->shell.count(text), 1);
        QCOMPARE(kit->shell.count(again), 1);
        poll(400); // used up
        QCOMPARE(kit->shell.count(again), 1);
        // Snoozed, then the reminder is turned off: nothing comes (no "running for -1 hours").
        kit->host.responses.last()(QStringLiteral("keep-running"));
        kit->user().setMachineRunningForXHours(-1);
        poll(600);
        QCOMPARE(kit->shell.messages().filter(QStringLiteral("has been running")).size(), 2);
        kit->user().setMachineRunningForXHours(2);
        // A snooze is dropped by a new power-on period.
        kit->host.responses.last()(QStringLiteral("keep-running"));
        QVERIFY(!session->takeSnoozedReminder(1, 400, 5));
        QVERIFY(!session->takeSnoozedReminder(1, 5, 600));

        QVERIFY(session->confirmationPopupsEnabled());
        kit->clearRequests();
        kit->host.responses.last()(QStringLiteral("stop"));
        QVERIFY(kit->shell.confirmations.isEmpty());
        QVERIFY(session->computerById(1)->statusChanging()); // under way (it waits for the list load)
        // A click brings the computer's card into view.
        QSignalSpy reveal(session.get(), &MainContext::computerRevealRequested);
        session->setPageIndex(MainContext::Account);
        kit->host.responses.last()(QStringLiteral("default"));
        QCOMPARE(session->pageIndex(), int(MainContext::Computers));
        QCOMPARE(reveal.size(), 1);
        QCOMPARE(reveal.first().first().toLongLong(), 1);
    }

    // Hours left follow the balance and the rate of all computers while one runs; the guard speaks once
    // per crossing of its threshold and its action opens the payments tab.
    void creditGuard()
    {
        const QString guardStart = QStringLiteral("Credits for about ");
        const auto guardNotes = [&] { return int(kit->shell.messages().filter(guardStart).size()); };
        const auto credits = [this](const char *value) {
            session->applyUserData(QJsonObject{{"user_credit", value}});
        };
        session->setCreditGuardHours(2);
        credits("11");
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "running"), vm(2, "B", "terminated")});
        session->flushDerivedLists();
        QCOMPARE(session->hoursLeftText(), QStringLiteral("\u2248 10 h 0 min left"));
        credits("2.2"); // 2 h: not below
        QCOMPARE(guardNotes(), 0);
        credits("2");
        QCOMPARE(kit->shell.messages().filter(guardStart),
                 QStringList{QStringLiteral("Credits for about 1 h 49 min left at 1.1 credits/h. Running "
                                            "computers are stopped when credits run out.")});
        QCOMPARE(kit->host.actionKeys.last(), QStringList{QStringLiteral("buy-credits")});
        credits("1");
        QCOMPARE(guardNotes(), 1);
        credits("50"); // a purchase
        credits("1.5");
        QCOMPARE(guardNotes(), 2);
        QCOMPARE(kit->host.systemNotes.filter(guardStart).size(), 2);

        kit->host.responses.last()(QStringLiteral("buy-credits"));
        QCOMPARE(session->pageIndex(), int(MainContext::Account));
        QCOMPARE(session->myAccountPageIndex(), 1);

        session->setCreditGuardHours(0);
        credits("50");
        credits("0.5");
        QCOMPARE(guardNotes(), 2);
        session->updateNewVmInstances(QJsonArray{vm(1, "A", "terminated"), vm(2, "B", "terminated")});
        session->flushDerivedLists();
        QCOMPARE(session->hoursLeft(), -1.0);
        QCOMPARE(session->hoursLeftText(), QString());
    }

    void trayMenuModel()
    {
        QJsonArray reply;
        reply.append(vm(1, "Run Win", "running", 100));
        reply.append(vm(2, "Fav Stopped", "terminated", 200, true));
        reply.append(vm(3, "Run Linux", "running", 300, false, "linux"));
        reply.append(vm(4, "Stopped", "terminated"));
        reply.append(vm(5, "Fav Deleted", "deleted", 0, true));
        session->updateNewVmInstances(reply);
        session->flushDerivedLists();
        const QList<TrayMenu::Entry> entries = TrayMenu::entries(*session);
        QList<qint64> ids;
        for (const TrayMenu::Entry &e : entries)
            ids.append(e.identifier);
        QCOMPARE(ids.size(), 3);
        QCOMPARE(ids.first(), 2);
        QCOMPARE(entries.at(0).title, QStringLiteral("\u2605 Fav Stopped"));
        QCOMPARE(entries.at(0).actions, QList<TrayMenu::Action>{TrayMenu::Action::Start});
        QVERIFY(ids.contains(1) && ids.contains(3));
        const auto entryOf = [&](qint64 id) { return entries.at(int(ids.indexOf(id))); };
        QCOMPARE(entryOf(1).actions, QList<TrayMenu::Action>{TrayMenu::Action::Connect});
        QVERIFY(entryOf(3).actions.isEmpty());
        QCOMPARE(entryOf(3).statusText, Computer::statusLabel(Computer::Running));
        for (int id = 10; id < 20; ++id)
            reply.append(vm(id, QStringLiteral("Extra %1").arg(id), "running", 1000 + id, false, "linux"));
        session->updateNewVmInstances(reply);
        session->flushDerivedLists();
        QCOMPARE(TrayMenu::entries(*session).size(), TrayMenu::kMaxEntries);
        QCOMPARE(TrayMenu::entries(*session).first().identifier, 2);

        // "Start" asks as the card does.
        TrayMenu::trigger(*session, 2, TrayMenu::Action::Start);
        QCOMPARE(kit->shell.confirmations.size(), 1);
        QCOMPARE(kit->shell.confirmations.first().title, QStringLiteral("Start Fav Stopped?"));
        QCOMPARE(TrayMenu::toolTip(12.345, QStringLiteral("\u2248 1 h 0 min left")),
                 QStringLiteral("vantorix\nBalance: 12.35 credits\n\u2248 1 h 0 min left"));
    }

    void bannerSlots()
    {
        const QString serviceLeftDark = session->leftBannerDark()->source();
        const auto banner = [](const char *position, const char *link, const char *image) {
            return QJsonObject{{"position", position}, {"link", link}, {"image", image}};
        };
        session->applyBanners(QJsonArray{banner("top_dark", "/a", "top-dark.gif"),
                                         banner("left", "", "left.png"), banner("TOP", "/c", "caps.png"),
                                         banner("top", "/b", "first.png"),
                                         banner("top_light", "/d", "second.png"), QJsonValue(3)});
        QCOMPARE(session->topBannerDark()->source(), QStringLiteral("top-dark.gif"));
        QCOMPARE(session->topBannerDark()->link(), QStringLiteral("/a"));
        // Case-sensitive: "TOP" is a left light banner, and it came after "left".
        QCOMPARE(session->leftBannerLight()->source(), QStringLiteral("caps.png"));
        // A later element for the same slot wins; a slot nobody names keeps its value.
        QCOMPARE(session->topBannerLight()->source(), QStringLiteral("second.png"));
        QCOMPARE(session->leftBannerDark()->source(), serviceLeftDark);
        session->applyBanners(QJsonValue());
        QCOMPARE(session->topBannerLight()->source(), QStringLiteral("second.png"));
    }
    // A payment completed on the provider's page is told through the purchase notice's own two switches
    // (how the switches and the master switch combine is the event switch table).
    void completedPaymentFollowsItsSwitches_data()
    {
        QTest::addColumn<bool>("app");
        QTest::addColumn<bool>("system");
        QTest::newRow("in-app only") << true << false;
        QTest::newRow("system only") << false << true;
    }
    void completedPaymentFollowsItsSwitches()
    {
        QFETCH(bool, app);
        QFETCH(bool, system);
        session->setCreditsPurchasedNotificationApp(app);
        session->setCreditsPurchasedNotificationSystem(system);
        session->listUserPayments();
        QTRY_VERIFY(!session->userPayments().isEmpty());
        UserPayment *pending = nullptr;
        for (UserPayment *p : session->userPayments())
            if (p->isPending())
                pending = p;
        QVERIFY(pending);

        // Pay on the provider's page, as the browser would.
        QNetworkAccessManager network;
        QNetworkRequest request(QUrl(pending->paymentLink() + QStringLiteral("/complete")));
        std::unique_ptr<QNetworkReply> reply(network.post(request, QByteArray()));
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(reply->error(), QNetworkReply::NoError);

        QSignalSpy changed(session.get(), &MainContext::userPaymentsChanged);
        session->listUserPayments();
        QTRY_COMPARE(changed.size(), 1);
        const QString text = QStringLiteral("Payment completed.");
        QCOMPARE(kit->shell.count(text), app ? 1 : 0);
        QCOMPARE(kit->host.systemNotes.count(text), system ? 1 : 0);

        // The same list again changes nothing and says nothing more.
        QVERIFY(kit->settle());
        session->listUserPayments();
        QVERIFY(kit->settle());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(kit->shell.count(text), app ? 1 : 0);
    }

    void viewControllersBelongToTheirViews()
    {
        auto *view = new QObject;
        QPointer<LogsController> account = session->createAccountLogs(view);
        QPointer<LogsController> machine = session->createComputerLogs(view);
        QPointer<ProfileEditor> editor = session->createProfileEditor(view);
        QVERIFY(account && machine && editor);
        QCOMPARE(account->parent(), view);
        QVERIFY(kit->settle());
        QVERIFY(kit->requests(QStringLiteral("get_user_logs")).size() >= 1);
        delete view;
        QVERIFY(!account && !machine && !editor);
        QVERIFY(kit->settle());
    }
};

QTEST_GUILESS_MAIN(TestSessionLists)
#include "tst_session_lists.moc"
