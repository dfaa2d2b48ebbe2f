// The computer operations and the session's requests against the demo service: waiting for a list load,
// busy flags and the polling timer on every path, sign-out, Remote Desktop, creation and templates.
#include "../api/logcapture.h"
#include "sessiontestkit.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const char *const kStart = "start_user_vm_instance";
const char *const kStop = "stop_user_vm_instance";
} // namespace

class TestSessionService : public QObject {
    Q_OBJECT

    std::unique_ptr<SessionTestKit> kit;
    std::unique_ptr<MainContext> session;

    // A session with the demo account's computers loaded and nothing pending.
    void loaded()
    {
        session = kit->newSession();
        session->listUserVMInstances();
        QTRY_VERIFY_WITH_TIMEOUT(!session->loadingComputersInternal(), 10000);
        QVERIFY(kit->settle());
        QVERIFY(!session->computers().isEmpty());
        kit->shell.notes.clear();
        kit->host.systemNotes.clear();
        kit->clearRequests();
    }
    Computer *named(const QString &name)
    {
        for (Computer *c : session->computers()) {
            if (c->userInstanceName() == name)
                return c;
        }
        qWarning() << "no computer named" << name;
        return nullptr;
    }

private Q_SLOTS:
    void init() { kit = std::make_unique<SessionTestKit>(); }
    void cleanup()
    {
        session.reset();
        kit.reset();
    }

    void powerOperationWaitsForListLoad()
    {
        loaded();
        Computer *c = named(QStringLiteral("Design Station"));
        QVERIFY(c && c->canStart());
        kit->fault(QStringLiteral("list_user_vm_instances"), QStringLiteral("delay"), 1, 200, 1500);
        session->listUserVMInstances();
        c->startUserVMInstance(session.get());
        // Busy at once, the polling stopped, nothing sent: a retry in 2000 ms.
        QVERIFY(c->statusChanging());
        QVERIFY(!c->canStart() && !c->canStop() && !c->canDelete());
        QVERIFY(!session->refreshInstancesTimer()->isActive());
        QCOMPARE(kit->shell.timeoutDelays(), QList<int>{2000});
        QVERIFY(kit->requests(kStart).isEmpty());
        // Still loading at the retry: another 2000 ms step.
        QCOMPARE(kit->shell.runTimeouts(), 1);
        QCOMPARE(kit->shell.timeoutDelays(), QList<int>{2000});
        QVERIFY(kit->requests(kStart).isEmpty());
        QVERIFY(c->statusChanging());
        // Once the load is over, the next step sends.
        QTRY_VERIFY_WITH_TIMEOUT(!session->loadingComputersInternal(), 10000);
        QVERIFY(c->statusChanging());
        QCOMPARE(kit->shell.runTimeouts(), 1);
        QTRY_COMPARE(kit->requests(kStart).size(), 1);
        QVERIFY(kit->settle());
        QCOMPARE(c->status(), int(Computer::Provisioning));
        QVERIFY(!c->statusChanging());
        QVERIFY(session->refreshInstancesTimer()->isActive());
        QCOMPARE(kit->shell.notes.size(), 1);
        QCOMPARE(kit->shell.notes.first().level, Shell::Level::Info);
        QCOMPARE(kit->host.systemNotes, kit->shell.messages());
        QVERIFY(kit->shell.timeouts.isEmpty());
    }

    void startClearsThePreview()
    {
        loaded();
        Computer *c = named(QStringLiteral("Design Station"));
        c->setB64ScreenshotBuffer1(QStringLiteral("AAAA"));
        c->setB64ScreenshotBuffer2(QStringLiteral("BBBB"));
        session->startInstances(QList<Computer *>{c});
        kit->shell.confirmations.first().accepted();
        QCOMPARE(c->b64ScreenshotBuffer1(), QString());
        QCOMPARE(c->b64ScreenshotBuffer2(), QString());
        QVERIFY(kit->settle());
    }

    // What each failure shows, that the busy flag comes down and that the polling resumes are the fault
    // matrix's rows for every computer operation; a refusal also leaves the computer as it was and sends
    // nothing to the system's notifications.
    void refusedPowerOperationChangesNothing()
    {
        loaded();
        Computer *c = named(QStringLiteral("Office PC"));
        QVERIFY(c && c->canStop());
        kit->fault(QString::fromLatin1(kStop), QStringLiteral("error_message"), -1, 200, 0,
                   QStringLiteral("Nope."));
        c->stopUserVMInstance(session.get());
        QVERIFY(c->statusChanging());
        QVERIFY(kit->settle());
        QVERIFY(!c->statusChanging());
        QCOMPARE(c->status(), int(Computer::Running));
        QCOMPARE(kit->shell.messages(), QStringList{QStringLiteral("Nope.")});
        QVERIFY(kit->host.systemNotes.isEmpty());
    }

    void favouriteRestartsPollingLater_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("applied");
        QTest::newRow("success") << QString() << true;
        QTest::newRow("error message") << "error_message" << false;
        QTest::newRow("not json") << "not_json" << false;
    }
    void favouriteRestartsPollingLater()
    {
        QFETCH(QString, kind);
        QFETCH(bool, applied);
        loaded();
        Computer *c = named(QStringLiteral("Design Station"));
        QVERIFY(!c->isFavourite());
        if (!kind.isEmpty())
            kit->fault(QStringLiteral("set_favourite_vm_instance"), kind, -1, 500, 0, QStringLiteral("No."));
        c->setFavouriteStatus(true, session.get());
        QVERIFY(c->favouriteStatusChanging());
        QVERIFY(kit->settle());
        QVERIFY(!c->favouriteStatusChanging());
        QCOMPARE(c->isFavourite(), applied);
        QCOMPARE(kit->requests(QStringLiteral("set_favourite_vm_instance")).size(), 1);
        QVERIFY(
            kit->requests(QStringLiteral("set_favourite_vm_instance")).first().endsWith("&favourite=true"));
        QVERIFY(!session->refreshInstancesTimer()->isActive());
        QCOMPARE(kit->shell.timeoutDelays(), QList<int>{1000});
        kit->shell.runTimeouts();
        QVERIFY(session->refreshInstancesTimer()->isActive());
        if (applied)
            QVERIFY(kit->shell.notes.isEmpty());
        else
            QCOMPARE(kit->shell.notes.size(), 1);
    }

    void renameAndPasswordReset()
    {
        loaded();
        Computer *c = named(QStringLiteral("Design Station"));
        c->rename(QStringLiteral("Bad-Name"), session.get(), {});
        QCOMPARE(kit->shell.messages(),
                 QStringList{QStringLiteral("Machine name cannot contain special characters.")});
        QVERIFY(kit->requests(QStringLiteral("edit_user_vm_instance")).isEmpty());
        QVERIFY(!c->vmDataChanging());
        // A rename that goes through, and one the service refuses, are the card's views test.

        kit->shell.notes.clear();
        int called = 0;
        c->resetWindowsPassword(QStringLiteral("Str0ng-Passw0rd!"), session.get(), [&called] { ++called; });
        QVERIFY(c->vmDataChanging());
        QVERIFY(kit->settle());
        QVERIFY(!c->vmDataChanging());
        QCOMPARE(called, 1);
        QCOMPARE(kit->shell.notes.size(), 1);
        QCOMPARE(kit->shell.notes.first().level, Shell::Level::Info);
        // The password never shows in the log line the request leaves behind... and is encoded on the wire.
        const QString sent = kit->requests(QStringLiteral("reset_win_password_user_vm_instance")).first();
        QVERIFY(sent.contains(QStringLiteral("win_password=Str0ng-Passw0rd%21")));

        kit->shell.notes.clear();
        c->resetWindowsPassword(QStringLiteral("short"), session.get(), {});
        QCOMPARE(kit->shell.notes.size(), 1);
        QCOMPARE(kit->shell.notes.first().level, Shell::Level::Error);
        QVERIFY(!c->vmDataChanging());
    }

    void previewAlternatesBuffers()
    {
        loaded();
        Computer *c = named(QStringLiteral("Office PC"));
        QVERIFY(c->screenShotUseBuffer1());
        c->updateScreenshot(session.get());
        QVERIFY(kit->settle());
        QVERIFY(!c->screenShotUseBuffer1());
        QVERIFY(!c->b64ScreenshotBuffer2().isEmpty());
        QVERIFY(c->b64ScreenshotBuffer1().isEmpty());
        c->updateScreenshot(session.get());
        QVERIFY(kit->settle());
        QVERIFY(c->screenShotUseBuffer1());
        QVERIFY(!c->b64ScreenshotBuffer1().isEmpty());
        QVERIFY(kit->shell.notes.isEmpty());
        // A preview that fails at every tick is logged once, and again only after one has arrived.
        const auto failures = [](const LogCapture &log) {
            return int(log.lines().filter(QStringLiteral("could not be fetched")).size());
        };
        const auto requestFailures = [](const LogCapture &log) {
            return int(log.lines()
                           .filter(QStringLiteral("get_vm_screenshot"))
                           .filter(QStringLiteral("Request failed"))
                           .size());
        };
        LogCapture log;
        kit->api().setTransferTimeout(100);
        kit->fault(QStringLiteral("get_vm_screenshot"), QStringLiteral("hold"), 3);
        for (int tick = 0; tick < 3; ++tick) {
            c->updateScreenshot(session.get());
            QVERIFY(kit->settle());
        }
        QCOMPARE(failures(log), 1);
        QCOMPARE(requestFailures(log), 0);
        c->updateScreenshot(session.get());
        QVERIFY(kit->settle());
        kit->fault(QStringLiteral("get_vm_screenshot"), QStringLiteral("hold"), 1);
        c->updateScreenshot(session.get());
        QVERIFY(kit->settle());
        QCOMPARE(failures(log), 2);
        kit->api().setTransferTimeout(ApiClient::kDefaultTransferTimeoutMs);
        QVERIFY(kit->shell.notes.isEmpty());
    }

    void remoteDesktop()
    {
        loaded();
        // No address: an error and no popup.
        named(QStringLiteral("Test Box"))->connectViaRDP(session.get());
        QCOMPARE(kit->shell.messages(), QStringList{QStringLiteral("Unkown RDP address for machine.")});
        QVERIFY(kit->shell.confirmations.isEmpty());

        // Connection data with a control character: refused before anything is written or started.
        Computer *c = named(QStringLiteral("Office PC"));
        const QString address = c->rdpPublicAddress();
        c->setRdpPublicAddress(address + QStringLiteral("\r\ndrivestoredirect:s:*"));
        kit->shell.notes.clear();
        c->connectViaRDP(session.get());
        QCOMPARE(kit->shell.messages(),
                 QStringList{QStringLiteral("Invalid connection data received from the service.")});
        QVERIFY(kit->shell.confirmations.isEmpty());
        QVERIFY(kit->host.rdpFiles.isEmpty());
        c->setRdpPublicAddress(address);

        // No stored password: ask; accept connects with address and user name only.
        QVERIFY(!c->rdpPublicAddress().isEmpty());
        c->connectViaRDP(session.get());
        QCOMPARE(kit->shell.confirmations.size(), 1);
        auto asked = kit->shell.confirmations.takeFirst();
        QCOMPARE(asked.title, QStringLiteral("Autologin unavailable - No RDP Password Cached"));
        QVERIFY(asked.message.startsWith(
            QStringLiteral("For security purposes, the password for this machine is stored locally")));
        QVERIFY(asked.message.endsWith(
            QStringLiteral("manually entering the password in the RDP login prompt.")));
        QCOMPARE(asked.okText, QStringLiteral("Skip password update"));
        QCOMPARE(asked.cancelText, QStringLiteral("Update Password"));
        QVERIFY(kit->host.rdpFiles.isEmpty());
        asked.accepted();
        QCOMPARE(kit->host.rdpFiles.size(), 1);
        QCOMPARE(
            kit->host.rdpFiles.first(),
            QStringLiteral("full address:s:%1\r\nusername:s:%2").arg(c->rdpPublicAddress(), c->username()));
        QVERIFY(kit->shell.messages().contains(QStringLiteral("Opening external RDP session.")));
        QSignalSpy resetCached(session.get(), &MainContext::resetCachedPassword);
        c->connectViaRDP(session.get());
        kit->shell.confirmations.takeFirst().cancelled();
        QCOMPARE(resetCached.size(), 1);
        QCOMPARE(resetCached.first().first().value<Computer *>(), c);

        // A stored password: connect at once with it, and show the note until told not to.
        session->storeEncryptedPassword(c->identifier(), QStringLiteral("enc:0102"));
        kit->host.rdpFiles.clear();
        c->connectViaRDP(session.get());
        QCOMPARE(kit->host.rdpFiles.size(), 1);
        const QStringList lines = kit->host.rdpFiles.first().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2), QStringLiteral("password 51:b:enc:0102"));
        QCOMPARE(lines.at(3), QStringLiteral("remoteapplicationmode:i:0"));
        asked = kit->shell.confirmations.takeFirst();
        QCOMPARE(asked.title, QStringLiteral("Opening RDP"));
        QCOMPARE(asked.okText, QStringLiteral("Don't show again"));
        QCOMPARE(asked.cancelText, QStringLiteral("Ok"));
        asked.accepted();
        QVERIFY(!session->showVMConnectionWarningNotification());
        c->connectViaRDP(session.get());
        QVERIFY(kit->shell.confirmations.isEmpty());
        QCOMPARE(kit->host.rdpFiles.size(), 2);

        // The client gives up at once: said as an error naming the computer; not after sign-out.
        kit->shell.notes.clear();
        kit->host.rdpFailureHandlers.last()(QStringLiteral("the user name or password was refused"));
        QCOMPARE(kit->shell.messages(),
                 QStringList{QStringLiteral(
                     "Could not connect to Office PC: the user name or password was refused")});
        QCOMPARE(kit->shell.notes.first().level, Shell::Level::Error);
        const RemoteDesktopFailure late = kit->host.rdpFailureHandlers.last();
        session.reset();
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("Could not connect to Office PC")));
        late(QStringLiteral("the computer could not be reached"));
        QCOMPARE(kit->shell.notes.size(), 1);
    }

    void createComputer()
    {
        loaded();
        session->insertVMInstance(QStringLiteral("Bad-Name"), 1, QStringLiteral("alice"),
                                  QStringLiteral("Pw-12345678!"));
        QCOMPARE(kit->shell.messages(),
                 QStringList{QStringLiteral("Machine name cannot contain special characters.")});
        QVERIFY(kit->requests(QStringLiteral("insert_vm_instance")).isEmpty());
        kit->shell.notes.clear();

        session->insertVMInstance(QStringLiteral("Render Box"), 1, QStringLiteral("alice"),
                                  QStringLiteral("Pw-12345678!"));
        QCOMPARE(kit->shell.messages(), QStringList{QStringLiteral("Starting Machine")});
        QVERIFY(kit->settle());
        QCOMPARE(kit->shell.messages().last(), QStringLiteral("Created Machine \"Render Box\""));
        QCOMPARE(kit->host.systemNotes, QStringList{QStringLiteral("Created Machine \"Render Box\"")});
        // The new computer and its protected password after the next poll are the creation views test's.
        QCOMPARE(session->computerEncryptedPasswords().size(), 1);

        // No answer in time: the outcome is unknown, so the list is looked at at once and nothing is
        // stored or announced as created (what the user is told is the fault matrix's time-out row).
        kit->api().setTransferTimeout(100);
        kit->fault(QStringLiteral("insert_vm_instance"), QStringLiteral("hold"), 1);
        kit->shell.notes.clear();
        kit->host.systemNotes.clear();
        kit->clearRequests();
        session->insertVMInstance(QStringLiteral("Slow Box"), 1, QStringLiteral("alice"),
                                  QStringLiteral("Pw-12345678!"));
        QTRY_VERIFY_WITH_TIMEOUT(!kit->requests(QStringLiteral("list_user_vm_instances")).isEmpty(), 10000);
        QVERIFY(!kit->shell.messages().contains(QStringLiteral("Created Machine \"Slow Box\"")));
        QVERIFY(kit->host.systemNotes.isEmpty());
        QCOMPARE(session->computerEncryptedPasswords().size(), 1);
        kit->clearFaults();
        kit->api().setTransferTimeout(ApiClient::kDefaultTransferTimeoutMs);
    }

    void createComputerWithoutProtection()
    {
        loaded();
        kit->host.failEncrypt = true;
        session->insertVMInstance(QStringLiteral("Render Box"), 1, QStringLiteral("alice"),
                                  QStringLiteral("Pw-12345678!"));
        QVERIFY(kit->settle());
        QVERIFY(session->computerEncryptedPasswords().isEmpty()); // never stored in clear
        QCOMPARE(kit->shell.messages().last(), QStringLiteral("Created Machine \"Render Box\""));
    }

    void templates()
    {
        loaded();
        session->getAvailableVmTemplateList();
        QVERIFY(kit->settle());
        QVERIFY(!session->computerTemplates().isEmpty());
        ComputerTemplate *first = session->computerTemplates().first();
        QCOMPARE(session->getComputerTemplateByIdentifier(first->identifier()), first);
        QCOMPARE(session->getComputerTemplateByIdentifier(-5), nullptr);
        QPointer<ComputerTemplate> old(first);
        session->getAvailableVmTemplateList();
        QVERIFY(kit->settle());
        QTRY_VERIFY(old.isNull()); // an earlier load's records go
    }

    void unauthorizedStartsSignOut()
    {
        kit->useEmail(QString::fromLatin1(SessionTestKit::kClosedEmail));
        kit->settings().setValue(QStringLiteral("loginPassword"), QStringLiteral("protected"));
        session = kit->newSession();
        QSignalSpy signingOut(session.get(), &MainContext::signingOut);
        QSignalSpy signedOut(session.get(), &MainContext::signedOutRequested);
        session->listUserVMInstances();
        session->updateUserData();
        QVERIFY(kit->settle());
        QCOMPARE(signingOut.size(), 1); // the second 401 changes nothing
        QCOMPARE(kit->settings().value(QStringLiteral("loginPassword")).toString(), QString());
        QCOMPARE(kit->host.cacheClears, 1);
        QCOMPARE(signedOut.size(), 0);
        QCOMPARE(kit->shell.timeoutDelays(), QList<int>{4000});
        kit->shell.runTimeouts();
        QCOMPARE(signedOut.size(), 1);
    }

    void signOutTiming()
    {
        loaded();
        QSignalSpy signedOut(session.get(), &MainContext::signedOutRequested);
        QSignalSpy toReset(session.get(), &MainContext::resetPasswordRequested);
        session->signOut();
        QVERIFY(!session->refreshInstancesTimer()->isActive());
        QCOMPARE(signedOut.size(), 0);
        // An operation finishing meanwhile does not bring the polling back.
        session->restartRefreshTimer();
        QVERIFY(!session->refreshInstancesTimer()->isActive());
        QCOMPARE(kit->shell.timeoutDelays(), QList<int>{4000});
        kit->shell.runTimeouts();
        QCOMPARE(signedOut.size(), 1);
        QCOMPARE(toReset.size(), 0);

        session = kit->newSession();
        QSignalSpy toReset2(session.get(), &MainContext::resetPasswordRequested);
        session->resetPassword();
        kit->shell.runTimeouts();
        QCOMPARE(toReset2.size(), 1);
        // A deferred call that comes after the session has gone does nothing.
        session->signOut();
        session.reset();
        kit->shell.runTimeouts();
    }

    void tickSkipsListWhileLoading()
    {
        loaded();
        kit->fault(QStringLiteral("list_user_vm_instances"), QStringLiteral("delay"), 1, 200, 1500);
        session->listUserVMInstances();
        session->refreshInstancesTimer()->start(100);
        QTest::qWait(1000);
        QVERIFY(session->loadingComputersInternal());
        QCOMPARE(kit->requests(QStringLiteral("list_user_vm_instances")).size(), 1);
        // The user data poll goes out at the ticks, one at a time.
        QVERIFY(kit->requests(QStringLiteral("get_user_data")).size() >= 1);
        session->refreshInstancesTimer()->stop();
        QVERIFY(kit->settle());
    }
};

QTEST_MAIN(TestSessionService) // the service draws the previews
#include "tst_session_service.moc"
