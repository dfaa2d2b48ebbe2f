// The loose account: computers, templates, payments and logs whose replies use the other legal form of
// every loosely typed field (looseforms.h does the forms; this file only chooses the data).
#include "seeddata.h"

#include "demostate.h"

namespace demo::seed {

namespace {

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;

// Multi-digit identifiers, so that text order ("10" < "100" < "11" < "9") and number order differ.
const int kTemplateIds[] = {9, 10, 11, 100};
const int kPaymentIds[] = {9, 10, 11, 100};

void addTemplates(DemoState &state)
{
    struct T {
        const char *name;
        const char *title;
        const char *platform;
        double rate;
        const char *spec; // empty: no description (null or left out)
    };
    const T kinds[] = {
        {"win-basic", "Windows Basic", "windows", 0.30, "**2 vCPU, 4 GB RAM**\n\nOffice work."},
        {"win-basic-spot", "Windows Basic (Spot)", "windows", 0.12, ""},
        {"linux-basic", "Linux Basic", "linux", 0.18, ""},
        {"linux-render", "Linux Render", "linux", 0.85, "**8 vCPU, NVIDIA T4**\n\nRendering."},
    };
    QList<Template> all = state.templates();
    for (int i = 0; i < 4; ++i) {
        Template t;
        t.id = kTemplateIds[i];
        t.name = QLatin1String(kinds[i].name);
        t.title = QLatin1String(kinds[i].title);
        t.platform = QLatin1String(kinds[i].platform);
        t.osVersion = t.platform == QLatin1String("windows") ? QStringLiteral("Windows Server 2022")
                                                             : QStringLiteral("Ubuntu 22.04 LTS");
        t.machineType = QStringLiteral("e2-standard-2");
        t.publicImage = QStringLiteral("loose-image-%1").arg(t.id);
        t.diskSize = QStringLiteral("60");
        t.rate = kinds[i].rate;
        t.idleRate = 0.01;
        t.spec = QString::fromUtf8(kinds[i].spec);
        t.loose = true;
        all.append(t);
    }
    state.setTemplates(all);
}

void addMachines(DemoState &state, int accountId)
{
    struct M {
        QString name;
        int templateId;
        const char *status;
        bool favourite;
        bool rdp;
        qint64 startedAgo;
    };
    const QString longName = QStringLiteral("Long Name ").repeated(20); // 200 characters
    const M seeds[] = {
        {QStringLiteral("Bürorechner Zoë"), 9, "running", true, true, 5 * kHour},
        {longName.trimmed() + QLatin1Char('X'), 11, "terminated", false, true, 3 * kDay},
        {QStringLiteral("Render Node"), 100, "running", false, false, 2 * kDay + 3 * kHour},
        {QStringLiteral("Quiet Box"), 10, "suspended", true, false, 8 * kDay},
        {QStringLiteral("Mystery Box"), 11, "hibernating", false, true,
         0},                                                  // a status the client does not know
        {QStringLiteral("Blank Box"), 9, "", false, true, 0}, // a status left empty
        {QStringLiteral("Old Desk"), 9, "deleted", false, false, 20 * kDay},
    };
    const qint64 now = state.now();
    int index = 0;
    for (const M &s : seeds) {
        const Template *t = state.templateById(s.templateId);
        Machine &m = state.addMachine(accountId);
        m.name = s.name;
        m.title = t->title;
        m.instanceName = QStringLiteral("vtx-%1-%2").arg(accountId).arg(m.id);
        m.platform = t->platform;
        m.osVersion = t->osVersion;
        m.templateId = t->id;
        m.status = QLatin1String(s.status);
        m.favourite = s.favourite;
        m.username =
            m.platform == QLatin1String("windows") ? QStringLiteral("loose") : QStringLiteral("ubuntu");
        if (s.rdp)
            m.rdpAddress = QStringLiteral("192.0.2.%1").arg(20 + index);
        m.rate = t->rate;
        m.idleRate = t->idleRate;
        m.insertSecs = now - (30 + index) * kDay;
        m.startSecs = s.startedAgo > 0 ? now - s.startedAgo : 0;
        m.periodStartSecs = now - 10 * kDay;
        m.runSecondsPs = (3 + index) * kHour;
        m.idleSecondsPs = 10.0 * kDay - m.runSecondsPs;
        m.runCostPs = m.runSecondsPs / kHour * m.rate;
        m.idleCostPs = m.idleSecondsPs / kHour * m.idleRate;
        // Past runs, the current one included.
        m.runSeconds = m.runSecondsPs + (20 + 7 * index) * kHour + (s.status == "running" ? s.startedAgo : 0);
        m.idleSeconds = double(now - m.insertSecs) - m.runSeconds;
        m.runCost = m.runSeconds / kHour * m.rate;
        m.idleCost = m.idleSeconds / kHour * m.idleRate;
        if (index == 0) {
            PricePeriod p;
            p.fromSecs = now - 40 * kDay;
            p.toSecs = now - 10 * kDay;
            p.runMinutes = 900;
            p.runRate = 0.28;
            p.runCost = p.runMinutes / 60.0 * p.runRate;
            p.idleMinutes = 30 * 24 * 60 - p.runMinutes;
            p.idleRate = 0.01;
            p.idleCost = p.idleMinutes / 60.0 * p.idleRate;
            m.history.append(p);
        }
        for (int i = 0; i < 6; ++i)
            state.addLog(accountId, m.id, QStringLiteral("Machine \"%1\" checked.").arg(m.name),
                         now - (index * 6 + i + 1) * 7 * kHour);
        ++index;
    }
}

void addPayments(DemoState &state, int accountId)
{
    struct P {
        const char *status;
        const char *invoice;
        double credits;
        qint64 ago;
    };
    const P payments[] = {{"Completed", "SENT", 20, 40 * kDay},
                          {"Completed", "NOT REQUESTED", 12, 20 * kDay},
                          {"Refunded", "UNAVAILABLE", 30, 10 * kDay},
                          {"Pending", "UNAVAILABLE", 15, 1 * kDay}};
    for (int i = 0; i < 4; ++i) {
        Payment &p = state.addPayment(accountId, kPaymentIds[i]);
        p.name = QStringLiteral("Credits purchase");
        p.status = QLatin1String(payments[i].status);
        p.invoiceStatus = QLatin1String(payments[i].invoice);
        p.credits = payments[i].credits;
        p.vat = payments[i].credits * 0.19;
        p.amount = p.credits + p.vat;
        p.dateSecs = state.now() - payments[i].ago;
        // The generator is rewound after this seed (seeddata.cpp): a token of its own shape cannot come
        // up again for a later payment.
        p.token = QStringLiteral("loose-%1-%2").arg(p.id).arg(state.rng().generate());
    }
}

} // namespace

void populateLoose(DemoState &state)
{
    addTemplates(state);
    Account &a = state.addAccount(QStringLiteral("loose"), QString::fromLatin1(kLooseEmail),
                                  QString::fromLatin1(kDemoPassword));
    a.activated = true;
    a.loose = true;
    a.displayName = QStringLiteral("loose");
    a.country.clear(); // no names, no country: null or left out in replies
    a.credits = 4.5;   // above the account's own threshold, below the default one
    a.lowCreditsThreshold = 4;
    a.hasOwnedCredits = true;
    a.emailNotifications = {1, 2, 3, 5, 9};
    a.registeredSecs = state.now() - 90 * kDay;
    addMachines(state, a.id);
    addPayments(state, a.id);
    for (int i = 0; i < 12; ++i)
        state.addLog(a.id, 0, QStringLiteral("Signed in from the desktop app."),
                     state.now() - (i + 1) * 13 * kHour);
}

} // namespace demo::seed
