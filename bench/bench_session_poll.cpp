// Benchmark: one computer-list poll in the session (merge, derived lists, grid model sync) for 1000 and
// 10000 computers of which a few changed. Prints the median time per poll and the model operations.
// Run by hand: build/bench/bench_session_poll
#include "computer/computerdata.h"
#include "records/user.h"
#include "session/maincontext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Counts {
    int inserted = 0, removed = 0, moved = 0, resets = 0;
};

void count(MachineListModel *model, Counts &c)
{
    QObject::connect(model, &QAbstractItemModel::rowsInserted,
                     [&c](const QModelIndex &, int first, int last) { c.inserted += last - first + 1; });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved,
                     [&c](const QModelIndex &, int first, int last) { c.removed += last - first + 1; });
    QObject::connect(model, &QAbstractItemModel::rowsMoved, [&c] { ++c.moved; });
    QObject::connect(model, &QAbstractItemModel::modelReset, [&c] { ++c.resets; });
}

QJsonObject entry(int id, QRandomGenerator &rng)
{
    static const char *const statuses[] = {"running", "terminated", "terminated", "suspended", "stopping"};
    return QJsonObject{{"vm_id", QString::number(id)},
                       {"vm_user_instance_name", QStringLiteral("Fleet %1").arg(id)},
                       {"vm_user_instance_title", "Fleet"},
                       {"instance_name", QStringLiteral("vm-%1").arg(id)},
                       {"platform", id % 3 ? "windows" : "linux"},
                       {"os_version", "Windows Server 2022"},
                       {"template_id", "3"},
                       {"status", statuses[rng.bounded(5)]},
                       {"gce_insert_time", "1700000000"},
                       {"gce_start_time", QString::number(1700000000 + rng.bounded(1000000))},
                       {"favourite", id % 17 == 0 ? "true" : "false"},
                       {"username", "demo"},
                       {"rdp_public_address", "10.0.0.1"},
                       {"vm_idle_time", "120"},
                       {"vm_poweron_time", "300"},
                       {"vm_rate", "0.35"},
                       {"vm_poweron_cost", "1.75"},
                       {"vm_idle_cost", "0.02"},
                       {"vm_idle_rate", "0.01"},
                       {"vm_total_cost", "1.77"},
                       {"vm_current_session_run_time", "95"},
                       {"vm_poweron_time_ps", "300"},
                       {"vm_idle_time_ps", "120"},
                       {"vm_poweron_cost_ps", "1.75"},
                       {"vm_idle_cost_ps", "0.02"},
                       {"vm_last_date_ps", "2024-01-01 00:00:00"},
                       {"vm_price_history_string", QJsonValue::Null}};
}

void run(int computers, int polls, int order = Computer::LastStartedTime)
{
    QRandomGenerator rng(11);
    User user;
    user.setEmail(QStringLiteral("bench@example.org"));
    user.setMachineRunningForXHours(4);
    MainContext session(nullptr, nullptr, nullptr, &user, nullptr);
    session.setComputerOrder(order);
    Counts counts;
    count(session.visibleFavouriteMachinesModel(), counts);
    count(session.visibleStandardMachinesModel(), counts);

    QJsonArray reply;
    for (int id = 1; id <= computers; ++id)
        reply.append(entry(id, rng));
    session.updateNewVmInstances(reply);
    QCoreApplication::processEvents();

    std::vector<qint64> times;
    std::vector<qint64> parseTimes;
    Counts before = counts;
    const int recomputationsBefore = session.derivedListsRecomputations();
    for (int poll = 0; poll < polls; ++poll) {
        // A few computers changed: costs of five, the status of two, one started just now, one's start
        // time lost (it moves towards the end).
        for (int k = 0; k < 5; ++k) {
            const int i = int(rng.bounded(computers));
            QJsonObject o = reply[i].toObject();
            o["vm_total_cost"] = QString::number(2.0 + poll * 0.01 + k);
            reply[i] = o;
        }
        for (int k = 0; k < 2; ++k) {
            const int i = int(rng.bounded(computers));
            QJsonObject o = reply[i].toObject();
            o["status"] = o["status"].toString() == QLatin1String("running") ? "stopping" : "running";
            reply[i] = o;
        }
        {
            const int i = int(rng.bounded(computers));
            QJsonObject o = reply[i].toObject();
            o["gce_start_time"] = QString::number(1800000000 + poll);
            reply[i] = o;
        }
        {
            const int i = int(rng.bounded(computers));
            QJsonObject o = reply[i].toObject();
            o["gce_start_time"] = "0";
            reply[i] = o;
        }
        // The service's body, as the client receives it, for the parse figure.
        const QByteArray body = QJsonDocument(reply).toJson(QJsonDocument::Compact);
        QElapsedTimer parseTimer;
        parseTimer.start();
        const QJsonValue parsed = QJsonDocument::fromJson(body).array();
        parseTimes.push_back(parseTimer.nsecsElapsed());

        QElapsedTimer timer;
        timer.start();
        session.updateNewVmInstances(parsed);
        times.push_back(timer.nsecsElapsed());
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    std::sort(parseTimes.begin(), parseTimes.end());
    const double median = times[times.size() / 2] / 1e6;
    const double parseMedian = parseTimes[parseTimes.size() / 2] / 1e6;
    std::printf(
        "%6d computers, %s, %d polls: merge + derived lists + model sync median %.3f ms (min %.3f, max %.3f);"
        " JSON parse of the reply median %.3f ms\n",
        computers, qPrintable(Computer::sortablePropertyText(order).toLower()), polls, median,
        times.front() / 1e6, times.back() / 1e6, parseMedian);
    std::printf("        model operations per poll: %.1f (inserted %d, removed %d, moves %d over all polls), "
                "resets %d, recomputations per poll %.2f\n",
                double(counts.inserted - before.inserted + counts.removed - before.removed + counts.moved -
                       before.moved) /
                    polls,
                counts.inserted - before.inserted, counts.removed - before.removed,
                counts.moved - before.moved, counts.resets,
                double(session.derivedListsRecomputations() - recomputationsBefore) / polls);

    // Where the time goes: reading the entries alone, a merge with nothing changed, a recomputation alone.
    const QJsonArray entries = reply;
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < 10; ++k) {
        for (const QJsonValue &value : entries) {
            ComputerData::Problem problem;
            (void)ComputerData::fromJson(value, &problem);
        }
    }
    const double readMs = timer.nsecsElapsed() / 10 / 1e6;
    timer.start();
    for (int k = 0; k < 10; ++k)
        session.updateNewVmInstances(entries);
    const double unchangedMs = timer.nsecsElapsed() / 10 / 1e6;
    timer.start();
    for (int k = 0; k < 10; ++k) {
        session.setFilterUserInstanceName(k % 2 ? QStringLiteral("Fleet") : QString());
        session.flushDerivedLists();
    }
    const double recomputeMs = timer.nsecsElapsed() / 10 / 1e6;
    std::printf(
        "        breakdown: reading entries %.3f ms, unchanged poll %.3f ms, recomputation alone %.3f ms\n",
        readMs, unchangedMs, recomputeMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vantorix.*.debug=false"));
    run(1000, 101);
    run(10000, 51);
    run(10000, 21, Computer::UserInstanceName);
    return 0;
}
