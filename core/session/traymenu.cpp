#include "session/traymenu.h"

#include "computer/computer.h"
#include "logging.h"
#include "session/maincontext.h"

#include <algorithm>

namespace TrayMenu {

namespace {

Entry entryFor(const Computer &computer)
{
    Entry entry;
    entry.identifier = computer.identifier();
    entry.title =
        (computer.isFavourite() ? QStringLiteral("\u2605 ") : QString()) + computer.userInstanceName();
    entry.statusText = Computer::statusLabel(computer.status());
    if (computer.status() == Computer::Running && computer.platform() == Computer::Windows)
        entry.actions.append(Action::Connect);
    if (computer.canStart())
        entry.actions.append(Action::Start);
    return entry;
}

} // namespace

QList<Entry> entries(const MainContext &session)
{
    QList<Computer *> favourites;
    QList<Computer *> running;
    for (Computer *c : session.computers()) {
        if (c->status() == Computer::Deleted)
            continue;
        if (c->isFavourite())
            favourites.append(c);
        else if (c->status() == Computer::Running)
            running.append(c);
    }
    const auto lessThan = session.getCompareMachinesFunc();
    std::stable_sort(favourites.begin(), favourites.end(), lessThan);
    std::stable_sort(running.begin(), running.end(), lessThan);
    QList<Entry> list;
    for (const QList<Computer *> *group : {&favourites, &running}) {
        for (const Computer *c : *group) {
            if (list.size() == kMaxEntries)
                return list;
            list.append(entryFor(*c));
        }
    }
    return list;
}

QString actionText(Action action)
{
    return action == Action::Connect ? QStringLiteral("Connect") : QStringLiteral("Start");
}

QString balanceLine(double credits)
{
    return QStringLiteral("Balance: %1 credits").arg(credits, 0, 'f', 2);
}

QString toolTip(double credits, const QString &hoursLeftText)
{
    QString text = QStringLiteral("vantorix\n") + balanceLine(credits);
    if (!hoursLeftText.isEmpty())
        text += QLatin1Char('\n') + hoursLeftText;
    return text;
}

void trigger(MainContext &session, qint64 identifier, Action action)
{
    Computer *computer = session.computerById(identifier);
    if (!computer) {
        qCInfo(lcCore) << "A tray entry for a computer no longer listed:" << identifier;
        return;
    }
    if (action == Action::Start)
        session.startInstances(QList<Computer *>{computer});
    else
        computer->connectViaRDP(&session);
}

} // namespace TrayMenu
