#include "countryservice.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "logging.h"
#include "uiservices.h"

#include <QJSEngine>
#include <QJSValue>
#include <QJsonArray>
#include <QJsonObject>

namespace {

QVariantMap country(const QString &name, double taxRate)
{
    return {{QStringLiteral("country_name"), name},
            {QStringLiteral("tax_rate"), taxRate},
            {QStringLiteral("is_eu_country"), false}};
}

bool isEuCountry(const QVariant &record)
{
    const QVariant flag = record.toMap().value(QStringLiteral("is_eu_country"));
    if (flag.typeId() == QMetaType::Bool)
        return flag.toBool();
    const QString text = flag.toString().toLower();
    return text == QLatin1String("true") || text == QLatin1String("1") || text == QLatin1String("yes");
}

} // namespace

CountryService::CountryService(QObject *parent) : CountryService(nullptr, nullptr, parent) {}

CountryService::CountryService(ApiClient *client, Shell *shell, QObject *parent)
    : QObject(parent), m_client(client ? client : UiServices::apiClient()),
      m_shell(shell ? shell : UiServices::shell()), m_countries(builtInCountries())
{
}

QVariantList CountryService::builtInCountries()
{
    return {country(QStringLiteral("UK"), 20), country(QStringLiteral("Romania"), 19)};
}

void CountryService::setCountries(const QVariantList &countries)
{
    m_countries = countries;
    Q_EMIT countriesChanged();
}

void CountryService::loadCountriesList()
{
    if (!m_client) {
        qCWarning(lcApi) << "No service client: the country list keeps its built-in entries";
        return;
    }
    // The reply is judged here: an "error_message" belongs in the signed-out window's own area, not in
    // the bottom stack where the envelope would put it.
    ApiPolicy policy = ApiPolicy::forAction(QStringLiteral("get_vatsense_rates"));
    policy.errorMessage = ApiPolicy::ErrorMessage::Ignore;
    policy.success = ApiPolicy::Success::AnyJson;

    ApiHandlers handlers;
    handlers.context = this;
    handlers.success = [this](const ApiReply &reply) {
        const QJsonValue value = reply.reply;
        if (value.isArray()) {
            QVariantList records;
            const QJsonArray array = value.toArray();
            for (const QJsonValue &entry : array) {
                if (entry.isObject() && entry.toObject().contains(QLatin1String("country_name")))
                    records.append(entry.toObject().toVariantMap());
                else
                    qCWarning(lcApi) << "Country list entry without a name skipped";
            }
            setCountries(records);
            return;
        }
        const QJsonObject object = value.toObject();
        if (value.isObject() && object.contains(QLatin1String("error_message"))) {
            Q_EMIT countriesErrorMessage(object.value(QLatin1String("error_message")).toVariant().toString());
            return;
        }
        qCWarning(lcApi).noquote() << ApiEnvelope::indentedJson(value);
        if (m_shell)
            m_shell->notify(QString::fromUtf8(ApiTexts::kUnexpectedWarning), Shell::Level::Warning);
    };
    m_client->send(ApiRequests::getVatsenseRates(), policy, handlers);
}

void CountryService::getVATInfo(const QString &vatNumber, const QJSValue &callback)
{
    QJSValue cb = callback;
    getVATInfo(vatNumber, [this, cb](const QVariant &answer) mutable {
        if (!cb.isCallable())
            return;
        QJSEngine *engine = qjsEngine(this);
        if (!engine)
            return;
        const QJSValue result = cb.call({engine->toScriptValue(answer)});
        if (result.isError())
            qCWarning(lcCore) << "VAT check callback failed:" << result.toString();
    });
}

void CountryService::getVATInfo(const QString &vatNumber, std::function<void(const QVariant &)> callback)
{
    if (!m_client) {
        qCWarning(lcApi) << "No service client: VAT number not checked";
        return;
    }
    ++m_vatChecks;
    if (m_vatChecks == 1)
        Q_EMIT gettingVATInfoChanged();

    ApiHandlers handlers;
    handlers.context = this;
    // Two checks may overlap; the flag stays up until the last one has finished.
    handlers.finished = [self = QPointer<CountryService>(this)] {
        if (!self)
            return;
        self->m_vatChecks = qMax(0, self->m_vatChecks - 1);
        if (self->m_vatChecks == 0)
            Q_EMIT self->gettingVATInfoChanged();
    };
    handlers.success = [callback](const ApiReply &reply) {
        if (callback)
            callback(reply.value.toVariant());
    };
    m_client->send(ApiRequests::getVatInfo(vatNumber), handlers);
}

QStringList CountryService::countryNames(bool euOnly) const
{
    QStringList names;
    for (const QVariant &record : m_countries) {
        if (euOnly && !isEuCountry(record))
            continue;
        names.append(record.toMap().value(QStringLiteral("country_name")).toString());
    }
    return names;
}

int CountryService::keptSelection(const QStringList &names, const QString &previous)
{
    if (names.isEmpty())
        return -1;
    const int index = names.indexOf(previous);
    return index >= 0 ? index : 0;
}

QVariantMap CountryService::interpretVatInfo(const QVariant &given)
{
    // From QML a JavaScript object arrives wrapped as a QJSValue.
    const QVariant answer = given.metaType() == QMetaType::fromType<QJSValue>()
                                ? given.value<QJSValue>().toVariant()
                                : given;
    QVariantMap result{{QStringLiteral("validated"), false},
                       {QStringLiteral("message"), QString()},
                       {QStringLiteral("companyName"), QString()},
                       {QStringLiteral("companyAddress"), QString()},
                       {QStringLiteral("countryName"), QString()}};
    if (answer.typeId() != QMetaType::QVariantMap) {
        result[QStringLiteral("message")] = QStringLiteral("Invalid EU VAT number");
        return result;
    }
    const QVariantMap object = answer.toMap();
    if (object.contains(QStringLiteral("error_message"))) {
        const QString message = object.value(QStringLiteral("error_message")).toString();
        result[QStringLiteral("message")] = message.isEmpty() ? QStringLiteral("Invalid EU VAT number") : message;
        return result;
    }
    result[QStringLiteral("validated")] = true;
    result[QStringLiteral("companyName")] = object.value(QStringLiteral("company_name")).toString();
    result[QStringLiteral("companyAddress")] = object.value(QStringLiteral("company_address")).toString();
    result[QStringLiteral("countryName")] = object.value(QStringLiteral("country_name")).toString();
    return result;
}
