// Every action of the service API, sent by its real caller, against every kind of failure a service or
// network can produce: nothing crashes, every busy flag comes down, the user sees the action's own text
// or nothing, a 401 signs out where it should, and the session keeps polling afterwards.
#include "faultcases.h"

#include "computer/computer.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QtTest>

FaultFixture::FaultFixture()
{
    server.listen();
    shell.acceptAll = true;
    api = std::make_unique<ApiClient>(&network, &shell);
    api->setBaseUrl(server.baseUrl());
    api->setTransferTimeout(500);
    user = std::make_unique<User>();
    user->setEmail(QStringLiteral("fault@example.org"));
    QObject::connect(api.get(), &ApiClient::signedOutUnauthorized, &owner, [this] { ++preSignInSignOuts; });
}

FaultFixture::~FaultFixture() = default;

void FaultFixture::addNote(const QString &text, int level)
{
    shell.notes.append({text, Shell::Level(level)});
}

void FaultFixture::startSession()
{
    session = std::make_unique<MainContext>(api.get(), &shell, nullptr, user.get(), nullptr);
    session->setRefreshRate(5.7);   // about 8 minutes: only the case's own requests run
    session->listUserVMInstances(); // a session is loading until its first list arrives
}

Q_DECLARE_METATYPE(FaultServer::Fault)

namespace {

// Each kind of failure: its row name, what the server does (None: nothing listens at all) and where a case
// says what the user sees (a kind of "no answer" may differ from the others).
using E = FaultExpectations;
struct KindInfo {
    const char *name;
    FaultServer::Fault fault;
    QString E::*expected;
    std::optional<QString> E::*variant = nullptr;
};

const KindInfo kKinds[] = {
    {"network failure", FaultServer::Fault::None, &E::network},
    {"time-out", FaultServer::Fault::Silence, &E::network, &E::timedOut},
    {"401", FaultServer::Fault::Unauthorized, &E::unauthorized},
    {"500", FaultServer::Fault::ServerError, &E::serverError},
    {"empty body", FaultServer::Fault::EmptyBody, &E::emptyBody},
    {"not JSON", FaultServer::Fault::NotJson, &E::notJson},
    {"error_message", FaultServer::Fault::ErrorMessage, &E::errorMessage},
    {"missing key", FaultServer::Fault::MissingKey, &E::missingKey},
    {"10 MB body", FaultServer::Fault::HugeBody, &E::network, &E::huge},
    {"reset mid-body", FaultServer::Fault::ResetMidBody, &E::network},
};

QString expected(const FaultExpectations &e, const KindInfo &kind)
{
    return kind.variant && (e.*kind.variant) ? *(e.*kind.variant) : e.*kind.expected;
}

Shell::Level levelOf(const QString &text)
{
    // An unknown outcome is a warning: the action may well have succeeded.
    if (text == QLatin1String(ApiTexts::kUnexpectedWarning) ||
        text.startsWith(QLatin1String("No answer from")))
        return Shell::Level::Warning;
    if (text == QLatin1String(ApiTexts::kInvoiceRequested))
        return Shell::Level::Info;
    return Shell::Level::Error;
}

// A loopback URL on which nothing listens.
QString refusedUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The client logs every failure on purpose; keep the output readable.
        QLoggingCategory::setFilterRules(QStringLiteral("vantorix.*=false"));
        m_cases = allFaultCases();
    }

    void matrix_data()
    {
        QTest::addColumn<int>("caseIndex");
        QTest::addColumn<int>("kindIndex");
        for (int c = 0; c < m_cases.size(); ++c) {
            for (int k = 0; k < int(std::size(kKinds)); ++k)
                QTest::addRow("%s x %s", qPrintable(m_cases.at(c).name), kKinds[k].name) << c << k;
        }
    }

    void matrix()
    {
        QFETCH(int, caseIndex);
        QFETCH(int, kindIndex);
        const FaultCase &c = m_cases.at(caseIndex);
        const KindInfo &kind = kKinds[kindIndex];

        FaultFixture f;
        run(f, c, kind.fault, kind.fault == FaultServer::Fault::None);
        if (QTest::currentTestFailed())
            return;

        // What the user saw.
        QStringList texts;
        for (const auto &n : f.notes)
            texts.append(n.message);
        const QString want = expected(c.expect, kind);
        if (want == QLatin1String(kAnyNotice)) {
            QVERIFY2(!f.notes.isEmpty(), "a notice was expected");
        } else if (want != QLatin1String(kUnchecked)) {
            const QStringList wanted = want.isEmpty() ? QStringList() : QStringList{want};
            QCOMPARE(texts, wanted);
            if (!f.notes.isEmpty())
                QCOMPARE(int(f.notes.first().level), int(levelOf(want)));
        }

        // Who signs out.
        const bool unauthorized = kind.fault == FaultServer::Fault::Unauthorized;
        if (c.needsSession)
            QCOMPARE(f.session->signingOutStarted(),
                     unauthorized && c.signOut == FaultCase::SignOut::Session);
        QCOMPARE(f.preSignInSignOuts > 0, unauthorized && c.signOut == FaultCase::SignOut::PreSignIn);

        // The session keeps polling once the service is healthy again.
        if (c.needsSession && !unauthorized) {
            f.api->setBaseUrl(f.server.baseUrl());
            f.server.clearFault();
            QTRY_VERIFY_WITH_TIMEOUT(f.session->refreshInstancesTimer()->isActive(), 5000);
            if (c.poll) {
                const int polledBefore = f.server.count(c.action);
                c.poll(f);
                QTRY_VERIFY_WITH_TIMEOUT(f.server.count(c.action) > polledBefore &&
                                             f.api->pendingCount() == 0 && !f.busy() && c.applied(f),
                                         10000);
            }
        }
    }

    // A healthy reply with one key the caller reads retyped, null or left out (the service's loose forms
    // and its mistakes): no crash, no stuck busy flag, no sign-out, and what the user sees is a proper
    // text (never "NaN", "undefined", "null" or an empty notice), or nothing.
    void reshaped_data()
    {
        QTest::addColumn<int>("caseIndex");
        QTest::addColumn<QByteArray>("body");
        for (const ReshapeCase &r : reshapeCases()) {
            int index = -1;
            for (int c = 0; c < m_cases.size(); ++c) {
                if (m_cases.at(c).name == r.caseName)
                    index = c;
            }
            QVERIFY2(index >= 0, qPrintable(r.caseName));
            for (const QString &key : r.keys) {
                for (const char *kind : {"retype", "null", "drop_key"}) {
                    QTest::addRow("%s x %s %s", qPrintable(r.caseName), kind, qPrintable(key))
                        << index << reshapeReply(r.reply, QLatin1String(kind), key);
                }
            }
        }
    }

    void reshaped()
    {
        QFETCH(int, caseIndex);
        QFETCH(QByteArray, body);
        const FaultCase &c = m_cases.at(caseIndex);
        FaultFixture f;
        f.server.setBody(body);
        run(f, c, FaultServer::Fault::Body, false);
        if (QTest::currentTestFailed())
            return;

        static const QRegularExpression garbage(QStringLiteral("\\b(NaN|undefined|null)\\b"));
        for (const RecordingShell::Note &n : f.notes) {
            QVERIFY2(!n.message.trimmed().isEmpty(), "an empty notice");
            QVERIFY2(!garbage.match(n.message).hasMatch(), qPrintable(n.message));
        }
        if (c.needsSession) {
            QVERIFY(!f.session->signingOutStarted());
            QVERIFY(std::isfinite(f.user->credits()));
            for (const Computer *computer : f.session->computers())
                QVERIFY(computer->identifier() >= 0);
        }
        QCOMPARE(f.preSignInSignOuts, 0);
    }

private:
    // The case's fixture (the sign-outs before sign-in counted, a session with its first list when the case
    // needs one), then its request through its caller against the fault (or with nothing listening), until
    // the reply has been handled. What the caller says at once (a progress note) is not part of the
    // verdict: the fixture's notes are those given afterwards.
    void run(FaultFixture &f, const FaultCase &c, FaultServer::Fault fault, bool refused)
    {
        if (c.needsSession) {
            f.startSession();
            QTRY_VERIFY_WITH_TIMEOUT(f.api->pendingCount() == 0 && !f.session->loadingComputersInternal(),
                                     10000);
        }
        const int sentBefore = f.server.count(c.action);
        if (refused)
            f.api->setBaseUrl(refusedUrl());
        else
            f.server.setFault(c.action, fault);
        f.busy = c.start(f);
        const qsizetype notesBefore = f.shell.notes.size();
        if (!refused)
            QTRY_VERIFY_WITH_TIMEOUT(f.server.count(c.action) > sentBefore, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(f.api->pendingCount() == 0 && !f.busy(), 15000);
        f.notes = f.shell.notes.mid(notesBefore);
    }

    QList<FaultCase> m_cases;
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
