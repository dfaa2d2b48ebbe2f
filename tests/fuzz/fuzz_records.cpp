// The reply envelope and the record readers: whatever the service sends, the envelope gives one verdict
// and the records read what they can, without crashing or reading out of bounds.
#include "api/apienvelope.h"
#include "api/apipolicy.h"
#include "computer/computerdata.h"
#include "fuzzsupport.h"
#include "records/computertemplate.h"
#include "records/user.h"
#include "records/userpayment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = fuzzsupport::bytes(data, size);

    // The envelope of a few actions with different rules, on the raw body.
    static const char *const actions[] = {"login_user",     "list_user_vm_instances", "get_vat_info",
                                          "get_user_data",  "edit_user_vm_instance",  "get_vantorix_banners",
                                          "request-invoice"};
    for (const char *action : actions) {
        ApiResponse response;
        response.status = 200;
        response.body = body;
        const ApiOutcome outcome =
            ApiEnvelope::evaluate(ApiPolicy::forAction(QString::fromLatin1(action)), response);
        for (const ApiLogLine &line : outcome.log)
            (void)line.text.size();
    }

    const QJsonDocument document = QJsonDocument::fromJson(body);
    QJsonArray entries;
    if (document.isArray()) {
        entries = document.array();
    } else if (document.isObject()) {
        const QJsonObject object = document.object();
        entries.append(object);
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            entries.append(it.value());
    } else {
        return 0;
    }

    QObject owner;
    for (const QJsonValue &entry : std::as_const(entries)) {
        ComputerData::Problem problem;
        (void)ComputerData::fromJson(entry, &problem);
        const QJsonObject object = entry.toObject();
        if (User *user = User::fromLoginData(object, QStringLiteral("secret"), &owner)) {
            user->updateFromUserData(object);
            (void)User::creditsIn(object);
        }
        (void)UserPayment::fromJson(object, &owner);
        (void)ComputerTemplate::fromJson(object, &owner);
    }
    (void)UserPayment::listFromJson(entries, &owner);
    (void)ComputerTemplate::listFromJson(entries, &owner);
    return 0;
}
