#include "session/machinelistmodel.h"

#include "computer/computer.h"

#include <QHash>
#include <QSet>

#include <algorithm>

MachineListModel::MachineListModel(QObject *parent) : QAbstractListModel(parent)
{
}

int MachineListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant MachineListModel::data(const QModelIndex &index, int role) const
{
    if (role != MachineRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    return QVariant::fromValue(m_rows.at(index.row()));
}

QHash<int, QByteArray> MachineListModel::roleNames() const
{
    return {{MachineRole, QByteArrayLiteral("machine")}};
}

Computer *MachineListModel::get(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row) : nullptr;
}

void MachineListModel::sync(const QList<Computer *> &machines)
{
    if (machines == m_rows)
        return;
    const int countBefore = int(m_rows.size());

    QHash<qint64, Computer *> wanted;
    wanted.reserve(machines.size());
    for (Computer *c : machines)
        wanted.insert(c->identifier(), c);

    // Remove from the last row to the first so that the indexes still to visit stay valid; runs of
    // neighbouring rows go in one removal.
    for (int row = int(m_rows.size()) - 1; row >= 0;) {
        if (wanted.contains(m_rows.at(row)->identifier())) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !wanted.contains(m_rows.at(first - 1)->identifier()))
            --first;
        beginRemoveRows(QModelIndex(), first, row);
        m_rows.remove(first, row - first + 1);
        endRemoveRows();
        row = first - 1;
    }

    // The records that stay keep their rows; the target order is expressed in them.
    QHash<qint64, Computer *> present;
    present.reserve(m_rows.size());
    for (Computer *c : std::as_const(m_rows))
        present.insert(c->identifier(), c);
    QList<Computer *> appended;
    for (Computer *c : machines) {
        if (!present.contains(c->identifier())) {
            present.insert(c->identifier(), c);
            appended.append(c);
        }
    }
    if (!appended.isEmpty()) {
        beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + appended.size()) - 1);
        m_rows.append(appended);
        endInsertRows();
    }

    QList<Computer *> target;
    target.reserve(machines.size());
    QSet<qint64> placed;
    for (Computer *c : machines) {
        if (!placed.contains(c->identifier())) {
            placed.insert(c->identifier());
            target.append(present.value(c->identifier()));
        }
    }
    arrange(target);

    if (countBefore != m_rows.size())
        Q_EMIT countChanged();
}

void MachineListModel::sortRows(const LessThan &lessThan)
{
    QList<Computer *> target = m_rows;
    std::stable_sort(target.begin(), target.end(), lessThan);
    arrange(target);
}

void MachineListModel::arrange(const QList<Computer *> &target)
{
    if (target == m_rows || target.size() != m_rows.size())
        return;
    const int n = int(m_rows.size());
    QHash<const Computer *, int> targetIndex;
    targetIndex.reserve(n);
    for (int i = 0; i < n; ++i)
        targetIndex.insert(target.at(i), i);

    // Longest increasing run of target positions in the current row order (patience sorting). Its rows
    // are already in the right relative order and stay where they are.
    QList<int> sequence(n);
    for (int i = 0; i < n; ++i)
        sequence[i] = targetIndex.value(m_rows.at(i), -1);
    QList<int> tailRow;         // for each run length, the row ending the best run of that length
    QList<int> previous(n, -1); // the row before each row in its run
    for (int row = 0; row < n; ++row) {
        const auto it = std::lower_bound(tailRow.begin(), tailRow.end(), sequence[row],
                                         [&](int r, int value) { return sequence[r] < value; });
        const int length = int(it - tailRow.begin());
        previous[row] = length > 0 ? tailRow[length - 1] : -1;
        if (it == tailRow.end())
            tailRow.append(row);
        else
            *it = row;
    }
    QSet<const Computer *> staying;
    for (int row = tailRow.isEmpty() ? -1 : tailRow.last(); row >= 0; row = previous[row])
        staying.insert(m_rows.at(row));

    // Every other row moves once, in target order, to just after its target predecessor (all of which
    // are already in their final relative order by then).
    for (int t = 0; t < n; ++t) {
        const Computer *c = target.at(t);
        if (staying.contains(c))
            continue;
        const int from = int(m_rows.indexOf(c));
        const int after = t == 0 ? -1 : int(m_rows.indexOf(target.at(t - 1)));
        const int destination = after + 1; // before which row, counted before the move
        if (destination != from && destination != from + 1) {
            beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
            m_rows.move(from, from < destination ? destination - 1 : destination);
            endMoveRows();
        }
        staying.insert(c);
    }
}
