// The computer list: loading, the in-place merge, the derived lists and the two grid models.
#include "session/maincontext.h"

#include "api/apirequests.h"
#include "logging.h"
#include "session/sessionevent.h"
#include "utils/jsonread.h"

#include <QCborMap>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

#include <algorithm>

namespace {

const char *const kEmptyStatusWarning =
    "API has returned a Computer with no status.\nIf you are unable to see or interact with any of your "
    "machines please contact support.";

template <typename T> bool assignList(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

} // namespace

void MainContext::listUserVMInstances()
{
    if (!m_api) {
        qCWarning(lcCore) << "No service client: the computer list cannot be loaded";
        return;
    }
    setLoadingFlags(true, m_loadingComputers);
    ApiHandlers handlers = handlersFor(this);
    handlers.mode = ApiPolicy::Mode::Polling;
    // Both flags drop on every completion path, before the reply is merged.
    handlers.finished = [self = QPointer<MainContext>(this)] {
        if (self)
            self->setLoadingFlags(false, false);
    };
    handlers.success = [this](const ApiReply &reply) { onListLoaded(reply.value); };
    m_api->send(ApiRequests::listUserVmInstances(userEmail()), handlers);
}

void MainContext::onListLoaded(const QJsonValue &data)
{
    if (!data.isArray() && !data.isObject()) {
        qCWarning(lcCore) << "Computer list reply is not a collection";
        return;
    }
    updateNewVmInstances(data);
}

void MainContext::updateNewVmInstances(const QJsonValue &data)
{
    bool isCollection = false;
    const QJsonArray entries = JsonRead::entries(data, &isCollection);
    if (!isCollection) {
        qCWarning(lcCore) << "Computer list is not a collection; ignored";
        return;
    }

    const int hours = m_user ? m_user->machineRunningForXHours() : -1;
    QSet<qint64> seen;
    seen.reserve(entries.size());
    QList<Computer *> added;
    // Which record each position of this reply went to, so that the next poll can compare entry by
    // entry: most entries come back unchanged, and an unchanged entry needs no reading at all.
    QList<Computer *> byPosition;
    byPosition.reserve(entries.size());
    m_merging = true;
    for (qsizetype position = 0; position < entries.size(); ++position) {
        const QJsonValue entry = entries.at(position);
        const QCborMap source = entry.isObject() ? QCborMap::fromJsonObject(entry.toObject()) : QCborMap();
        Computer *previous = position < m_recordByPosition.size() ? m_recordByPosition.at(position) : nullptr;
        if (previous && entry.isObject() && previous->isSourceEntry(source) &&
            m_byId.value(previous->identifier()) == previous && !seen.contains(previous->identifier())) {
            seen.insert(previous->identifier());
            byPosition.append(previous);
            continue;
        }
        byPosition.append(nullptr);

        ComputerData::Problem problem = ComputerData::Problem::None;
        const ComputerData record = ComputerData::fromJson(entry, &problem);
        switch (problem) {
        case ComputerData::Problem::None:
            break;
        case ComputerData::Problem::EmptyStatus:
            notify(QString::fromUtf8(kEmptyStatusWarning), Shell::Level::Warning);
            continue;
        case ComputerData::Problem::UnknownStatus:
            qCWarning(lcCore) << "Skipping computer" << record.identifier << "with an unknown status";
            continue;
        case ComputerData::Problem::NoIdentifier:
            qCWarning(lcCore) << "Skipping a computer entry without a usable vm_id";
            continue;
        case ComputerData::Problem::NotAnObject:
            qCWarning(lcCore) << "Skipping a computer entry that is not an object";
            continue;
        }
        seen.insert(record.identifier);
        Computer *computer = m_byId.value(record.identifier);
        if (computer) {
            // Both are asked: a snooze that falls due is used up even when the plain crossing fires too.
            const bool snoozeDue =
                takeSnoozedReminder(record.identifier, computer->sessionRunTime(), record.sessionRunTime);
            if (EventRules::runningTimeCrossed(computer->sessionRunTime(), record.sessionRunTime, hours))
                raiseRunningReminder(computer, record.userInstanceName, hours, hours);
            else if (snoozeDue && hours > 0) // none once the reminder was turned off meanwhile
                // A snoozed reminder tells how long the computer has run by now; a further "Keep running"
                // snoozes by the threshold again.
                raiseRunningReminder(computer, record.userInstanceName, int(record.sessionRunTime / 60),
                                     hours);
            computer->assign(record);
        } else {
            computer = new Computer(record, this);
            adoptComputer(computer);
            added.append(computer);
        }
        computer->setSourceEntry(source);
        byPosition.last() = computer;
    }
    m_recordByPosition = byPosition;

    QList<Computer *> next;
    next.reserve(m_computers.size() + added.size());
    for (Computer *c : std::as_const(m_computers)) {
        if (seen.contains(c->identifier())) {
            next.append(c);
        } else {
            // Dropped from the list, not destroyed: views may still hold it until the session ends.
            m_byId.remove(c->identifier());
            disconnect(c, &Computer::listInputsChanged, this, &MainContext::scheduleDerivedLists);
        }
    }
    next.append(added);
    m_merging = false;
    if (assignList(m_computers, next))
        Q_EMIT computersChanged();
    m_derivedDirty = true;
    recomputeDerivedLists();
}

void MainContext::adoptComputer(Computer *computer)
{
    m_byId.insert(computer->identifier(), computer);
    connect(computer, &Computer::listInputsChanged, this, &MainContext::scheduleDerivedLists);
}

void MainContext::scheduleDerivedLists()
{
    m_derivedDirty = true;
    if (m_merging || m_derivedScheduled)
        return;
    m_derivedScheduled = true;
    QMetaObject::invokeMethod(this, &MainContext::flushDerivedLists, Qt::QueuedConnection);
}

void MainContext::flushDerivedLists()
{
    m_derivedScheduled = false;
    if (m_derivedDirty)
        recomputeDerivedLists();
}

void MainContext::recomputeDerivedLists()
{
    m_derivedDirty = false;
    ++m_recomputations;

    QList<int> statuses;
    const bool statusHidden[] = {filterStatusPendingProvisioning(),
                                 filterStatusProvisioning(),
                                 filterStatusStaging(),
                                 filterStatusRunning(),
                                 filterStatusStopping(),
                                 filterStatusSuspending(),
                                 filterStatusSuspended(),
                                 filterStatusRepairing(),
                                 filterStatusTerminated(),
                                 filterStatusDeleted()};
    for (int s = 0; s < int(std::size(statusHidden)); ++s) {
        if (statusHidden[s])
            statuses.append(s);
    }
    QList<int> platforms;
    const bool platformHidden[] = {filterPlatformWindows(), filterPlatformLinux(), filterPlatformMac()};
    for (int p = 0; p < int(std::size(platformHidden)); ++p) {
        if (platformHidden[p])
            platforms.append(p);
    }

    const QString nameFilter = filterUserInstanceName();
    const QSet<qint64> selected(m_selectedComputers.cbegin(), m_selectedComputers.cend());
    QList<Computer *> visible;
    visible.reserve(m_computers.size());
    double burnRate = 0;
    double selectedBurnRate = 0;
    for (Computer *c : std::as_const(m_computers)) {
        const double rate = c->currentBurnRate();
        burnRate += rate;
        if (selected.contains(c->identifier()))
            selectedBurnRate += rate;
        const int status = c->status();
        if (status >= 0 && status < int(std::size(statusHidden)) && statusHidden[status])
            continue;
        const int platform = c->platform();
        if (platform >= 0 && platform < int(std::size(platformHidden)) && platformHidden[platform])
            continue;
        if (!nameFilter.isEmpty() && !c->userInstanceName().contains(nameFilter, Qt::CaseSensitive))
            continue;
        visible.append(c);
    }
    std::sort(visible.begin(), visible.end(), getCompareMachinesFunc());

    QList<Computer *> favourites;
    QList<Computer *> standard;
    QList<Computer *> startable;
    QList<Computer *> stoppable;
    QList<Computer *> deletable;
    for (Computer *c : std::as_const(visible)) {
        if (c->isFavourite() && c->status() != Computer::Deleted)
            favourites.append(c);
        else
            standard.append(c);
        if (selected.contains(c->identifier())) {
            if (c->canStart())
                startable.append(c);
            if (c->canStop())
                stoppable.append(c);
            if (c->canDelete())
                deletable.append(c);
        }
    }

    if (assignList(m_filteredStatuses, statuses))
        Q_EMIT filteredStatusesChanged();
    if (assignList(m_filteredPlatforms, platforms))
        Q_EMIT filteredPlatformsChanged();
    if (assignList(m_visibleComputers, visible))
        Q_EMIT visibleComputersChanged();
    if (assignList(m_visibleFavouriteComputers, favourites)) {
        m_favouriteModel->sync(m_visibleFavouriteComputers);
        Q_EMIT visibleFavouriteComputersChanged();
    }
    if (assignList(m_visibleStandardComputers, standard)) {
        m_standardModel->sync(m_visibleStandardComputers);
        Q_EMIT visibleStandardComputersChanged();
    }
    if (assignList(m_startableComputers, startable))
        Q_EMIT startableComputersChanged();
    if (assignList(m_stoppableComputers, stoppable))
        Q_EMIT stoppableComputersChanged();
    if (assignList(m_deletableComputers, deletable))
        Q_EMIT deletableComputersChanged();
    if (assignList(m_currentBurnRate, burnRate))
        Q_EMIT currentBurnRateChanged();
    if (assignList(m_selectedBurnRate, selectedBurnRate))
        Q_EMIT selectedBurnRateChanged();
    m_anyRunning = std::any_of(m_computers.cbegin(), m_computers.cend(),
                               [](const Computer *c) { return c->status() == Computer::Running; });
    updateCreditForecast();
}

ComputerOrdering::LessThan MainContext::getCompareMachinesFunc() const
{
    return ComputerOrdering::lessThan(computerOrder());
}

int MainContext::compareMachines(Computer *a, Computer *b) const
{
    if (!a || !b || a == b)
        return 0;
    const auto lessThan = getCompareMachinesFunc();
    if (lessThan(a, b))
        return -1;
    return lessThan(b, a) ? 1 : 0;
}

void MainContext::sortMachineModel(MachineListModel *model)
{
    if (model)
        model->sortRows(getCompareMachinesFunc());
}

void MainContext::syncMachineModel(const QVariantList &machines, MachineListModel *model)
{
    syncMachineModel(computersFrom(machines), model);
}

void MainContext::syncMachineModel(const QList<Computer *> &machines, MachineListModel *model)
{
    if (!model)
        return;
    model->sync(machines);
    sortMachineModel(model);
}

QList<Computer *> MainContext::computersFrom(const QVariantList &list)
{
    QList<Computer *> result;
    result.reserve(list.size());
    for (const QVariant &value : list) {
        if (auto *computer = qobject_cast<Computer *>(value.value<QObject *>()))
            result.append(computer);
    }
    return result;
}

void MainContext::setSelectedComputers(const QList<qint64> &value)
{
    if (m_selectedComputers == value)
        return;
    m_selectedComputers = value;
    Q_EMIT selectedComputersChanged();
}

void MainContext::setLoadingFlags(bool internal, bool visible)
{
    if (m_loadingComputersInternal != internal) {
        m_loadingComputersInternal = internal;
        Q_EMIT loadingComputersInternalChanged();
    }
    if (m_loadingComputers != visible) {
        m_loadingComputers = visible;
        Q_EMIT loadingComputersChanged();
    }
}
