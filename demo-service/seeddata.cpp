#include "seeddata.h"

#include "demostate.h"

#include <QStringList>

namespace demo::seed {

namespace {

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;

QList<Template> makeTemplates()
{
    struct Kind {
        const char *name;
        const char *title;
        const char *platform;
        const char *os;
        const char *type;
        const char *image;
        double rate;
        const char *spec;
    };
    const Kind kinds[] = {
        {"win-standard", "Windows Standard", "windows", "Windows Server 2022", "e2-standard-2",
         "windows-server-2022-dc", 0.35,
         "**2 vCPU, 8 GB RAM, 80 GB SSD**\n\nWindows desktop for office work and browsing. "
         "See [pricing]({BASE}/pricing) for the hourly rates."},
        {"win-performance", "Windows Performance", "windows", "Windows Server 2022", "e2-standard-8",
         "windows-server-2022-dc", 1.20,
         "**8 vCPU, 32 GB RAM, 200 GB SSD**\n\nFor compiling, rendering and heavy spreadsheets. "
         "Read the [FAQ]({BASE}/faq) before choosing."},
        {"linux-standard", "Linux Standard", "linux", "Ubuntu 22.04 LTS", "e2-standard-2", "ubuntu-2204-lts",
         0.20,
         "**2 vCPU, 8 GB RAM, 50 GB SSD**\n\nUbuntu desktop with RDP access. "
         "See [pricing]({BASE}/pricing)."},
        {"linux-gpu", "Linux GPU", "linux", "Ubuntu 22.04 LTS", "n1-standard-4-t4", "ubuntu-2204-lts-gpu",
         0.95,
         "**4 vCPU, 15 GB RAM, NVIDIA T4**\n\nFor machine learning and 3D work. "
         "[Details]({BASE}/pricing)."},
    };
    QList<Template> result;
    int id = 1;
    for (const Kind &k : kinds) {
        for (int spot = 0; spot < 2; ++spot) {
            Template t;
            t.id = id++;
            t.name = QString::fromLatin1(k.name) + (spot ? QStringLiteral("-spot") : QString());
            t.title = QString::fromLatin1(k.title) + (spot ? QStringLiteral(" (Spot)") : QString());
            t.platform = QString::fromLatin1(k.platform);
            t.osVersion = QString::fromLatin1(k.os);
            t.machineType = QString::fromLatin1(k.type);
            t.publicImage = QString::fromLatin1(k.image);
            t.diskSize = QStringLiteral("80");
            t.rate = spot ? k.rate * 0.4 : k.rate;
            t.idleRate = 0.01;
            t.spec = QString::fromUtf8(k.spec) +
                     (spot ? QStringLiteral("\n\n*Spot machine: cheaper, but it may be stopped at any time.*")
                           : QString());
            result.append(t);
        }
    }
    return result;
}

struct MachineSeed {
    const char *name;
    int templateId;
    const char *status;
    bool favourite;
    bool rdp;
    qint64 startedAgo; // seconds; 0: never started
};

void addMachine(DemoState &state, int accountId, const MachineSeed &s, int index)
{
    const qint64 now = state.now();
    const Template *t = state.templateById(s.templateId);
    Machine &m = state.addMachine(accountId);
    m.name = QString::fromLatin1(s.name);
    m.title = t->title;
    m.instanceName = QStringLiteral("vtx-%1-%2").arg(accountId).arg(m.id);
    m.platform = t->platform;
    m.osVersion = t->osVersion;
    m.templateId = t->id;
    m.favourite = s.favourite;
    m.username = m.platform == QLatin1String("windows") ? QStringLiteral("demo") : QStringLiteral("ubuntu");
    if (s.rdp)
        m.rdpAddress = state.rdpAddressOr(QStringLiteral("203.0.113.%1").arg(10 + index % 200));
    m.rate = t->rate;
    m.idleRate = t->idleRate;
    m.insertSecs = now - (40 + index) * kDay;
    m.startSecs = s.startedAgo > 0 ? now - s.startedAgo : 0;
    m.periodStartSecs = now - 12 * kDay;
    // Past usage, so that the billing figures are not all zero.
    m.runSecondsPs = double(state.rng().bounded(2, 40)) * kHour;
    m.idleSecondsPs = 12.0 * kDay - m.runSecondsPs;
    m.runCostPs = m.runSecondsPs / kHour * m.rate;
    m.idleCostPs = m.idleSecondsPs / kHour * m.idleRate;
    m.runSeconds = m.runSecondsPs + double(state.rng().bounded(10, 120)) * kHour;
    m.idleSeconds = double(now - m.insertSecs) - m.runSeconds;
    m.runCost = m.runSeconds / kHour * m.rate;
    m.idleCost = m.idleSeconds / kHour * m.idleRate;
    const QString status = QString::fromLatin1(s.status);
    const machines::Durations d = state.durations();
    if (status == QLatin1String("provisioning"))
        machines::start(m, now, d);
    else if (status == QLatin1String("staging"))
        m.status = status, m.pending = {{QStringLiteral("running"), d.staging}}, m.stepAt = now + d.staging;
    else if (status == QLatin1String("stopping"))
        machines::stop(m, now, d);
    else if (status == QLatin1String("repairing"))
        machines::reboot(m, now, d);
    else if (status == QLatin1String("pending_provisioning"))
        machines::provisionNew(m, now, d);
    else
        m.status = status;
    if (status == QLatin1String("deleted"))
        m.favourite = false, m.rdpAddress.clear();
}

void addHistory(Machine &m, qint64 now)
{
    const double rates[] = {0.30, 0.32, 0.34};
    for (int i = 0; i < 3; ++i) {
        PricePeriod p;
        p.fromSecs = now - (12 + 30 * (3 - i)) * kDay;
        p.toSecs = p.fromSecs + 30 * kDay;
        p.runMinutes = 600 + 150 * i;
        p.runRate = rates[i];
        p.runCost = p.runMinutes / 60.0 * p.runRate;
        p.idleMinutes = 30 * 24 * 60 - p.runMinutes;
        p.idleRate = 0.01;
        p.idleCost = p.idleMinutes / 60.0 * p.idleRate;
        m.history.append(p);
    }
    m.periodStartSecs = now - 12 * kDay;
}

void addPayments(DemoState &state, int accountId)
{
    struct P {
        const char *status;
        const char *invoice;
        double credits;
        qint64 ago;
    };
    const P payments[] = {{"Completed", "SENT", 20, 45 * kDay},
                          {"Refunded", "UNAVAILABLE", 15, 30 * kDay},
                          {"Completed", "NOT REQUESTED", 10, 12 * kDay},
                          {"Cancelled", "UNAVAILABLE", 50, 5 * kDay},
                          {"Pending", "UNAVAILABLE", 25, 2 * kDay}};
    for (const P &s : payments) {
        Payment &p = state.addPayment(accountId);
        p.name = QStringLiteral("Credits purchase");
        p.status = QString::fromLatin1(s.status);
        p.invoiceStatus = QString::fromLatin1(s.invoice);
        p.credits = s.credits;
        p.vat = s.credits * 0.19;
        p.amount = s.credits + p.vat;
        p.dateSecs = state.now() - s.ago;
    }
}

void addAccountLog(DemoState &state, int accountId)
{
    const QList<Machine *> own = state.machinesOf(accountId);
    const QStringList accountEvents = {
        QStringLiteral("Signed in from the desktop app."), QStringLiteral("Profile updated."),
        QStringLiteral("E-mail notification settings changed."), QStringLiteral("Payment page opened.")};
    const QStringList machineEvents = {
        QStringLiteral("Machine \"%1\" started."), QStringLiteral("Machine \"%1\" stopped."),
        QStringLiteral("Machine \"%1\" rebooted."), QStringLiteral("Windows password of \"%1\" reset.")};
    const qint64 now = state.now();
    for (int i = 0; i < 64; ++i) {
        const qint64 when = now - qint64(i + 1) * 11 * kHour - state.rng().bounded(3600);
        if (i % 3 == 0) {
            state.addLog(accountId, 0, accountEvents.at(i % accountEvents.size()), when);
        } else {
            const Machine *m = own.at(i % own.size());
            state.addLog(accountId, m->id, machineEvents.at(i % machineEvents.size()).arg(m->name), when);
        }
    }
}

} // namespace

void populate(DemoState &state)
{
    state.setTemplates(makeTemplates());
    const qint64 now = state.now();

    Account &demo = state.addAccount(QString::fromLatin1(kDemoLogin), QString::fromLatin1(kDemoEmail),
                                     QString::fromLatin1(kDemoPassword));
    demo.activated = true;
    demo.displayName = QStringLiteral("demo");
    demo.firstName = QStringLiteral("Dana");
    demo.lastName = QStringLiteral("Demo");
    demo.credits = 5.40;
    demo.hasOwnedCredits = true;
    demo.country = QStringLiteral("Germany");
    demo.phone = QStringLiteral("+49.3012345678");
    demo.runningHoursThreshold = 4;
    demo.emailNotifications = {1, 3, 5, 9};
    demo.registeredSecs = now - 120 * kDay;

    const MachineSeed seeds[] = {
        {"Office PC", 1, "running", true, true, 2 * kHour},
        {"Build Server", 5, "running", false, true, 3 * kDay + 5 * kHour},
        {"Design Station", 3, "terminated", false, true, 6 * kDay},
        {"Test Box", 6, "provisioning", false, false, 0},
        {"Media Encoder", 2, "staging", false, true, 9 * kDay},
        {"Old Laptop", 1, "stopping", false, true, 3 * kHour},
        {"Game Server", 7, "repairing", false, true, 20 * kHour},
        {"Archive", 1, "deleted", false, false, 30 * kDay},
        {"Spare Node", 5, "suspended", false, true, 15 * kDay},
        {"New Desk", 1, "pending_provisioning", false, false, 0},
    };
    int index = 0;
    for (const MachineSeed &s : seeds)
        addMachine(state, demo.id, s, index++);
    const QStringList extraStatuses = {QStringLiteral("running"), QStringLiteral("terminated"),
                                       QStringLiteral("terminated"), QStringLiteral("suspended")};
    for (int i = 0; i < state.config().extraMachines; ++i) {
        const QByteArray name = QStringLiteral("Fleet %1").arg(i + 1, 4, 10, QLatin1Char('0')).toLatin1();
        const QByteArray status = extraStatuses.at(state.rng().bounded(extraStatuses.size())).toLatin1();
        const int templateId = 1 + 2 * state.rng().bounded(4);
        addMachine(state, demo.id,
                   MachineSeed{name.constData(), templateId, status.constData(), i % 17 == 0, true,
                               status == "running" ? 3 * kHour : 2 * kDay},
                   index++);
    }
    for (Machine *m : state.machinesOf(demo.id)) {
        if (m->name == QLatin1String("Design Station"))
            addHistory(*m, now);
    }
    addPayments(state, demo.id);
    addAccountLog(state, demo.id);

    Account &plus = state.addAccount(QStringLiteral("plususer"), QString::fromLatin1(kPlusEmail),
                                     QString::fromLatin1(kDemoPassword));
    plus.activated = true;
    plus.firstName = QStringLiteral("Pat");
    plus.lastName = QStringLiteral("Plus");
    plus.credits = 50;
    plus.hasOwnedCredits = true;
    plus.country = QStringLiteral("Romania");
    plus.euResident = true;
    plus.validVat = true;
    plus.vatNumber = QStringLiteral("RO12345678");
    addMachine(state, plus.id, MachineSeed{"Plus Desk", 3, "terminated", false, true, 2 * kDay}, 0);

    Account &closed = state.addAccount(QStringLiteral("closed"), QString::fromLatin1(kClosedEmail),
                                       QString::fromLatin1(kDemoPassword));
    closed.activated = true;
    closed.deactivated = true;

    Account &inactive = state.addAccount(QStringLiteral("inactive"), QString::fromLatin1(kInactiveEmail),
                                         QString::fromLatin1(kDemoPassword));
    (void)state.newActivationKey(inactive);

    // Last, and on a copy of the generator, so that the other accounts' data and timings stay as they were.
    const QRandomGenerator generator = state.rng();
    populateLoose(state);
    state.rng() = generator;
}

} // namespace demo::seed
