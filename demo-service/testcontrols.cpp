#include "testcontrols.h"

#include "demostate.h"

#include <QJsonObject>

namespace demo {

namespace {
const QStringList kKinds = {QStringLiteral("status"),      QStringLiteral("empty"),
                            QStringLiteral("not_json"),    QStringLiteral("error_message"),
                            QStringLiteral("missing_key"), QStringLiteral("delay"),
                            QStringLiteral("hold"),        QStringLiteral("drop")};
} // namespace

bool FaultPlan::isKnownKind(const QString &kind)
{
    return kKinds.contains(kind);
}

void FaultPlan::set(const QString &action, const Fault &fault)
{
    m_faults.insert(action, fault);
}

void FaultPlan::clear(const QString &action)
{
    if (action.isEmpty())
        m_faults.clear();
    else
        m_faults.remove(action);
}

std::optional<Fault> FaultPlan::take(const QString &action)
{
    auto it = m_faults.find(action);
    if (it == m_faults.end())
        it = m_faults.find(QStringLiteral("*"));
    if (it == m_faults.end())
        return std::nullopt;
    const Fault fault = it.value();
    if (it->remaining > 0 && --it->remaining == 0)
        m_faults.erase(it);
    return fault;
}

QJsonArray FaultPlan::toJson() const
{
    QJsonArray list;
    for (auto it = m_faults.cbegin(); it != m_faults.cend(); ++it) {
        list.append(QJsonObject{{QStringLiteral("action"), it.key()},
                                {QStringLiteral("kind"), it->kind},
                                {QStringLiteral("remaining"), it->remaining},
                                {QStringLiteral("status"), it->status},
                                {QStringLiteral("delay_ms"), it->delayMs},
                                {QStringLiteral("message"), it->message}});
    }
    return list;
}

TestControls::TestControls(DemoState &state, std::function<void()> onReset)
    : m_state(state), m_onReset(std::move(onReset))
{
}

void TestControls::recordRequest(const QString &method, const QString &rawPath)
{
    m_requests.append(QJsonObject{{QStringLiteral("method"), method}, {QStringLiteral("path"), rawPath}});
}

HttpReply TestControls::handle(const QString &method, const QString &path, const QByteArray &rawQuery)
{
    const QueryParams params(rawQuery);
    const QString what = path.mid(int(qstrlen("/__test__/")));
    const bool post = method == QLatin1String("POST");
    if (what == QLatin1String("fault") && post) {
        Fault fault;
        fault.kind = params.value(QStringLiteral("kind"));
        const QString action = params.value(QStringLiteral("action"));
        if (action.isEmpty() || !FaultPlan::isKnownKind(fault.kind))
            return HttpReply::error(QStringLiteral("A fault needs an action and a known kind."));
        bool ok = true;
        fault.remaining = params.value(QStringLiteral("count"), QStringLiteral("-1")).toInt(&ok);
        fault.status = params.value(QStringLiteral("status"), QStringLiteral("500")).toInt(&ok);
        fault.delayMs = params.value(QStringLiteral("delay_ms"), QStringLiteral("0")).toInt();
        fault.message = params.value(QStringLiteral("message"));
        if (fault.remaining == 0)
            return HttpReply::error(QStringLiteral("count must be positive, or -1 for until cleared."));
        m_faults.set(action, fault);
        return HttpReply::success(QStringLiteral("Fault planned."));
    }
    if (what == QLatin1String("fault/clear") && post) {
        m_faults.clear(params.value(QStringLiteral("action")));
        return HttpReply::success(QStringLiteral("Faults cleared."));
    }
    if (what == QLatin1String("faults"))
        return HttpReply::json(m_faults.toJson());
    if (what == QLatin1String("requests"))
        return HttpReply::json(m_requests);
    if (what == QLatin1String("requests/clear") && post) {
        m_requests = QJsonArray();
        return HttpReply::success(QStringLiteral("Request log cleared."));
    }
    if (what == QLatin1String("outbox")) {
        QJsonArray list;
        for (const Email &e : m_state.outbox()) {
            list.append(QJsonObject{{QStringLiteral("to"), e.to},
                                    {QStringLiteral("subject"), e.subject},
                                    {QStringLiteral("body"), e.body}});
        }
        return HttpReply::json(list);
    }
    if (what == QLatin1String("advance") && post) {
        bool ok = false;
        const double minutes = params.value(QStringLiteral("minutes")).toDouble(&ok);
        if (!ok || minutes <= 0)
            return HttpReply::error(QStringLiteral("minutes must be a positive number."));
        m_state.clock().advanceMinutes(minutes);
        m_state.advance();
        return HttpReply::json(QJsonObject{{QStringLiteral("success"), QStringLiteral("Clock advanced.")},
                                           {QStringLiteral("now"), m_state.now()}});
    }
    if (what == QLatin1String("reset") && post) {
        m_state.reset();
        m_faults.clear();
        m_requests = QJsonArray();
        if (m_onReset)
            m_onReset();
        return HttpReply::success(QStringLiteral("Service reset."));
    }
    return HttpReply::notFound();
}

} // namespace demo
