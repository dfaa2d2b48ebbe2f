// The window shell: only the latest confirmation can be answered, deferred calls run once, and what a
// notification may show.

#include "ui/notificationpolicy.h"
#include "ui/uishell.h"

#include <QSignalSpy>
#include <QTest>

class TestUiShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Cancelling and a view taking the popup over are the confirmation view test's.
    void aConfirmationIsAnsweredOnce()
    {
        UiShell shell(nullptr);
        QSignalSpy spy(&shell, &UiShell::confirmationRequested);
        QStringList called;
        shell.confirm(
            QStringLiteral("T"), QStringLiteral("M"), QStringLiteral("Ok"), QString(),
            [&] { called << QStringLiteral("ok"); }, [&] { called << QStringLiteral("cancel"); });
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(3).toString(), QString());
        const int ticket = spy.at(0).at(4).toInt();
        QVERIFY(shell.hasPendingConfirmation());
        shell.answerConfirmation(ticket, true);
        shell.answerConfirmation(ticket, true);
        QCOMPARE(called, QStringList{QStringLiteral("ok")});
        QVERIFY(!shell.hasPendingConfirmation());
    }

    void aNewerRequestReplacesAnEarlierOne()
    {
        UiShell shell(nullptr);
        QSignalSpy spy(&shell, &UiShell::confirmationRequested);
        QStringList calls;
        shell.confirm({}, {}, QStringLiteral("Ok"), {}, [&] { calls << QStringLiteral("first"); }, {});
        shell.confirm({}, {}, QStringLiteral("Ok"), {}, [&] { calls << QStringLiteral("second"); }, {});
        const int first = spy.at(0).at(4).toInt();
        const int second = spy.at(1).at(4).toInt();
        QVERIFY(first != second);
        shell.answerConfirmation(first, true);
        QVERIFY(calls.isEmpty());
        shell.answerConfirmation(second, true);
        QCOMPARE(calls, QStringList{QStringLiteral("second")});
    }

    void aCallbackMayAskAgain()
    {
        UiShell shell(nullptr);
        QSignalSpy spy(&shell, &UiShell::confirmationRequested);
        int answered = 0;
        std::function<void()> again = [&] {
            ++answered;
            if (answered < 2)
                shell.confirm({}, {}, QStringLiteral("Ok"), {}, again, {});
        };
        shell.confirm({}, {}, QStringLiteral("Ok"), {}, again, {});
        shell.answerConfirmation(spy.at(0).at(4).toInt(), true);
        QCOMPARE(spy.count(), 2);
        QVERIFY(shell.hasPendingConfirmation());
        shell.answerConfirmation(spy.at(1).at(4).toInt(), true);
        QCOMPARE(answered, 2);
    }

    void setTimeoutRunsOnce()
    {
        UiShell shell(nullptr);
        int runs = 0;
        shell.setTimeout([&] { ++runs; }, 20);
        shell.setTimeout({}, 0); // nothing to run: ignored
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
        QTest::qWait(60);
        QCOMPARE(runs, 1);
    }

    void openableLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("openable");
        QTest::newRow("upper-case scheme") << "HTTPS://vantorix.example/" << true;
        QTest::newRow("no host") << "https:///nothing" << false;
        QTest::newRow("empty") << "" << false;
    }

    void openableLinks()
    {
        QFETCH(QString, link);
        QFETCH(bool, openable);
        QCOMPARE(NotificationPolicy::isOpenableLink(link), openable);
    }

    void linksAreDisarmedInTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Credits: 5 < 10" << QStringLiteral("Credits: 5 < 10");
        QTest::newRow("file link") << "see <a href=\"file:///etc/passwd\">this</a>!"
                                   << QStringLiteral("see <span>this</span>!");
        QTest::newRow("javascript, single quotes") << "<A HREF='javascript:alert(1)'>go</A> &amp; more"
                                                   << QStringLiteral("<span>go</span> &amp; more");
        QTest::newRow("relative, bare") << "<a href=/faq>FAQ</a>" << QStringLiteral("<span>FAQ</span>");
        QTest::newRow("host-less") << "<a href=\"https:///x\">x</a>" << QStringLiteral("<span>x</span>");
        QTest::newRow("look-alike attribute")
            << "<a data-href=\"https://x.example\" href=\"file:x\">t</a>" << QStringLiteral("<span>t</span>");
        QTest::newRow("no target") << "<a name=\"top\">t</a>" << QStringLiteral("<span>t</span>");
        QTest::newRow("dead then live")
            << "<a href=\"ftp://x.example\">a</a> <a href=\"https://x.example\">b</a>"
            << QStringLiteral("<span>a</span> <a href=\"https://x.example\">b</a>");
        QTest::newRow("unterminated dead before live")
            << "<a href=\"file:x\">a <a href=\"https://x.example\">b</a>"
            << QStringLiteral("<span>a <a href=\"https://x.example\">b</a>");
    }

    void linksAreDisarmedInTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(NotificationPolicy::displayText(text), shown);
    }

    void levelColours_data()
    {
        QTest::addColumn<QVariant>("level");
        QTest::addColumn<QVariant>("colour");
        const QColor accent(QStringLiteral("#0060b2"));
        QTest::newRow("info") << QVariant(0) << QVariant(accent);
        QTest::newRow("warning") << QVariant(1) << QVariant(QColor(QStringLiteral("#ef6c00")));
        QTest::newRow("error") << QVariant(2) << QVariant(QColor(QStringLiteral("#f44336")));
        QTest::newRow("other number") << QVariant(3) << QVariant();
        QTest::newRow("text") << QVariant(QStringLiteral("2")) << QVariant();
        QTest::newRow("nothing") << QVariant() << QVariant();
    }

    void levelColours()
    {
        QFETCH(QVariant, level);
        QFETCH(QVariant, colour);
        QCOMPARE(NotificationPolicy::levelColor(level, QColor(QStringLiteral("#0060b2"))), colour);
    }
};

QTEST_GUILESS_MAIN(TestUiShell)
#include "tst_uishell.moc"
