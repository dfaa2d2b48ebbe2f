#include "testcontrols.h"

#include "demostate.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace demo {

namespace {
const QStringList kKinds = {
    QStringLiteral("status"),        QStringLiteral("empty"),       QStringLiteral("not_json"),
    QStringLiteral("error_message"), QStringLiteral("missing_key"), QStringLiteral("delay"),
    QStringLiteral("hold"),          QStringLiteral("drop"),        QStringLiteral("retype"),
    QStringLiteral("null"),          QStringLiteral("drop_key")};

// Another JSON type for a value: a number becomes its text; a text that reads as a number becomes the
// number, any other text a list holding it; a flag becomes 1 or 0; a list or an object its JSON text;
// null becomes 0.
QJsonValue retyped(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Double:
        return value.toVariant().toString();
    case QJsonValue::String: {
        bool ok = false;
        const double number = value.toString().toDouble(&ok);
        return ok ? QJsonValue(number) : QJsonValue(QJsonArray{value});
    }
    case QJsonValue::Bool:
        return value.toBool() ? 1 : 0;
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    default:
        return 0;
    }
}

QJsonValue reshaped(const QJsonValue &value, const Fault &fault)
{
    if (value.isArray()) {
        QJsonArray list = value.toArray();
        for (auto it = list.begin(); it != list.end(); ++it)
            *it = reshaped(*it, fault);
        return list;
    }
    if (!value.isObject())
        return value;
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        it.value() = reshaped(it.value(), fault);
    if (object.contains(fault.key)) {
        if (fault.kind == QLatin1String("drop_key"))
            object.remove(fault.key);
        else if (fault.kind == QLatin1String("null"))
            object.insert(fault.key, QJsonValue::Null);
        else
            object.insert(fault.key, retyped(object.value(fault.key)));
    }
    return object;
}
} // namespace

bool Fault::reshapes() const
{
    return kind == QLatin1String("retype") || kind == QLatin1String("null") ||
           kind == QLatin1String("drop_key");
}

HttpReply reshape(const HttpReply &normal, const Fault &fault)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(normal.body, &error);
    if (error.error != QJsonParseError::NoError)
        return normal;
    HttpReply reply = normal;
    const QJsonValue changed =
        reshaped(document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), fault);
    reply.body = changed.isArray() ? QJsonDocument(changed.toArray()).toJson(QJsonDocument::Compact)
                                   : QJsonDocument(changed.toObject()).toJson(QJsonDocument::Compact);
    return reply;
}

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
                                {QStringLiteral("message"), it->message},
                                {QStringLiteral("key"), it->key}});
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
        fault.key = params.value(QStringLiteral("key"));
        if (fault.reshapes() && fault.key.isEmpty())
            return HttpReply::error(QStringLiteral("A fault of kind %1 needs a key.").arg(fault.kind));
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
