#pragma once

#include "httpmessage.h"

#include <QHash>
#include <QJsonArray>
#include <functional>
#include <optional>

namespace demo {
class DemoState;

// A planned misbehaviour of the service for one action ("*" for every action).
struct Fault {
    // status, empty, not_json, error_message, missing_key, delay, hold, drop, and the reshaping kinds
    // retype, null, drop_key that change one key of the normal answer
    QString kind;
    int remaining = -1; // requests still affected; -1 until cleared
    int status = 500;   // for "status"
    int delayMs = 0;    // before the answer, for every kind
    QString message;    // for "error_message" and "status"
    QString key;        // for the reshaping kinds

    [[nodiscard]] bool reshapes() const;
};

// The normal answer with every occurrence of `key` (at any depth) reshaped by `fault`'s kind: retype
// gives the value in another JSON type, null makes it null, drop_key leaves the key out.
[[nodiscard]] HttpReply reshape(const HttpReply &normal, const Fault &fault);

// The fault plan: which actions misbehave, how, and for how many requests.
class FaultPlan {
public:
    [[nodiscard]] static bool isKnownKind(const QString &kind);
    void set(const QString &action, const Fault &fault);
    void clear(const QString &action = QString());
    // The fault for this request, if any; counts the request against the fault's budget.
    [[nodiscard]] std::optional<Fault> take(const QString &action);
    [[nodiscard]] QJsonArray toJson() const;

private:
    QHash<QString, Fault> m_faults;
};

// The control endpoints under /__test__/ (only with --test-controls): fault plan, request log,
// outbox, clock advance and reset.
class TestControls {
public:
    TestControls(DemoState &state, std::function<void()> onReset);

    [[nodiscard]] FaultPlan &faults() { return m_faults; }
    void recordRequest(const QString &method, const QString &rawPath);
    [[nodiscard]] const QJsonArray &requests() const { return m_requests; }
    [[nodiscard]] HttpReply handle(const QString &method, const QString &path, const QByteArray &rawQuery);

private:
    DemoState &m_state;
    std::function<void()> m_onReset;
    FaultPlan m_faults;
    QJsonArray m_requests;
};

} // namespace demo
