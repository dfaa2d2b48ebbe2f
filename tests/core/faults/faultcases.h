#pragma once

#include "api/apiclient.h"
#include "faultserver.h"
#include "recordingshell.h"
#include "records/user.h"
#include "session/maincontext.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Everything one case needs: the fault server, a real service client on it, the shell, a user and (for
// the signed-in actions) a session whose own polling is slowed down so that only the case's request runs.
struct FaultFixture {
    FaultFixture();
    ~FaultFixture();
    void addNote(const QString &text, int level);
    void startSession();

    FaultServer server;
    QNetworkAccessManager network;
    RecordingShell shell; // every confirmation accepted, deferred calls on timers
    std::unique_ptr<ApiClient> api;
    std::unique_ptr<User> user;
    std::unique_ptr<MainContext> session;
    QObject owner; // parent of the callers a case creates
    // What a run leaves: the caller's busy test, the notices given after the request went out, and the
    // sign-outs before sign-in.
    std::function<bool()> busy;
    QList<RecordingShell::Note> notes;
    int preSignInSignOuts = 0;
};

// What the user must see for one fault: kSilent (nothing), kAnyNotice (something; the form's own text),
// kUnchecked (the reply is valid for this action, so whatever it leads to), or the exact text.
inline const char *const kSilent = "";
inline const char *const kAnyNotice = "<any>";
inline const char *const kUnchecked = "<unchecked>";

struct FaultExpectations {
    QString network; // no answer: refused, time-out, a reply too large, a connection reset mid-body
    QString unauthorized;
    QString serverError;
    QString emptyBody;
    QString notJson;
    QString errorMessage;
    QString missingKey;
    // Where one kind of "no answer" differs from the others: a time-out of an action the service may
    // still carry out, a large reply that this action's limit allows.
    std::optional<QString> timedOut = {};
    std::optional<QString> huge = {};
};

// One action as its real caller sends it.
struct FaultCase {
    enum class SignOut { Session, PreSignIn, None };
    QString name;   // the row name: the action, with the caller form when an action has several
    QString action; // the action on the wire
    bool needsSession = true;
    SignOut signOut = SignOut::Session;
    // Sends the request through its caller and returns the caller's busy test.
    std::function<std::function<bool()>(FaultFixture &)> start;
    FaultExpectations expect;
    // A polling action: after the fault, the next poll (poll) must go out and be applied (applied).
    std::function<void(FaultFixture &)> poll;
    std::function<bool(FaultFixture &)> applied;
};

[[nodiscard]] QList<FaultCase> allFaultCases();

// A healthy reply of one action (sent through the fault case of the same name) and the keys of it that
// the caller reads: the reshaping rows send it with one of those keys retyped, null or left out.
struct ReshapeCase {
    QString caseName;
    QByteArray reply;
    QStringList keys;
};

[[nodiscard]] QList<ReshapeCase> reshapeCases();
// The reply with every occurrence of the key, at any depth, reshaped: "retype" (a number becomes its
// text, a text the number it reads as or else a list holding it, a flag 1 or 0, a list or object its
// JSON text), "null" or "drop_key".
[[nodiscard]] QByteArray reshapeReply(const QByteArray &reply, const QString &kind, const QString &key);
