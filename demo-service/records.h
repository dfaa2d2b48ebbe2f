#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

namespace demo {

// One account of the service. The password is kept only as a salted hash.
struct Account {
    int id = 0;
    QString login;
    QString email;
    QString displayName;
    QString firstName;
    QString lastName;
    QByteArray passwordSalt;
    QByteArray passwordHash;
    qint64 registeredSecs = 0;
    bool activated = false;
    bool deactivated = false; // closed accounts: session requests are answered with 401
    QString activationKey;
    double credits = 0;
    double lowCreditsThreshold = 5;
    bool hasOwnedCredits = false;
    QString country = QStringLiteral("Germany");
    bool euResident = false;
    bool validVat = false;
    QString vatNumber;
    QString phone;
    QString companyName;
    QString companyAddress;
    int runningHoursThreshold = -1; // -1: no value stored, the key is left out of replies
    QSet<int> emailNotifications;   // numbers 1..9
    // Replies use the other legal form of every loosely typed field (see looseforms.h), and the account
    // sees only the loose templates.
    bool loose = false;
};

// A single-use password reset code.
struct ResetCode {
    int accountId = 0;
    qint64 expiresSecs = 0;
};

// One past price period of a computer, shown in its billing history.
struct PricePeriod {
    qint64 fromSecs = 0;
    qint64 toSecs = 0;
    double runCost = 0;
    int runMinutes = 0;
    double runRate = 0;
    double idleCost = 0;
    int idleMinutes = 0;
    double idleRate = 0;
};

// A computer template; templates come in pairs, the regular one followed by its spot variant.
struct Template {
    int id = 0;
    QString name;
    QString title;
    QString platform;
    QString osVersion;
    QString machineType;
    QString publicImage;
    QString diskSize;
    double rate = 0;
    double idleRate = 0;
    QString spec; // Markdown
    bool loose = false; // offered to loose accounts only (which see no other)
};

// One cloud computer with its lifecycle and accrued costs. Times are simulated seconds since the epoch.
struct Machine {
    int id = 0;
    int accountId = 0;
    QString name;
    QString title;
    QString instanceName;
    QString platform;
    QString osVersion;
    int templateId = 0;
    QString status;
    qint64 insertSecs = 0;
    qint64 startSecs = 0;
    bool favourite = false;
    QString username;
    QString rdpAddress; // empty: the key is left out of the record
    QByteArray winPasswordHash;
    double rate = 0;     // credits per hour while running
    double idleRate = 0; // credits per hour otherwise
    double runSeconds = 0;
    double idleSeconds = 0;
    double runCost = 0;
    double idleCost = 0;
    double runSecondsPs = 0;
    double idleSecondsPs = 0;
    double runCostPs = 0;
    double idleCostPs = 0;
    qint64 periodStartSecs = 0;
    QList<PricePeriod> history;
    // Pending lifecycle steps: (status, seconds after the previous step).
    QList<QPair<QString, qint64>> pending;
    qint64 stepAt = 0; // when the first pending step happens
    qint64 accruedTo = 0;
};

struct Payment {
    int id = 0;
    int accountId = 0;
    QString name;
    QString key;
    QString status; // "Pending", "Completed", "Cancelled", "Refunded"
    double credits = 0;
    double amount = 0; // VAT included
    double vat = 0;
    QString currency = QStringLiteral("EUR");
    qint64 dateSecs = 0;
    QString token;
    QString invoiceStatus; // "NOT REQUESTED", "REQUESTED", "SENT", "UNAVAILABLE"
    qint64 invoiceSentAt = 0;
};

struct LogEntry {
    qint64 secs = 0;
    int accountId = 0;
    int machineId = 0; // 0: an account event
    QString details;
};

struct Email {
    QString to;
    QString subject;
    QString body;
};

} // namespace demo
