#pragma once

#include <QAbstractItemModel>
#include <QHash>

// Counts what a list model tells its views: inserted, removed and moved rows, resets and layout changes,
// and how often each record was moved.
class ModelRecorder : public QObject {
public:
    explicit ModelRecorder(QAbstractItemModel *model) : m_model(model)
    {
        connect(model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) { inserted += last - first + 1; });
        connect(model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) { removed += last - first + 1; });
        connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this,
                [this](const QModelIndex &, int first, int last, const QModelIndex &, int) {
                    for (int row = first; row <= last; ++row)
                        ++movesOf[m_model->index(row, 0).data(Qt::UserRole + 1).value<QObject *>()];
                });
        connect(model, &QAbstractItemModel::rowsMoved, this, [this] { ++moves; });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { ++resets; });
        connect(model, &QAbstractItemModel::layoutChanged, this, [this] { ++layoutChanges; });
    }

    [[nodiscard]] int maxMovesOfOneRow() const
    {
        int most = 0;
        for (int n : movesOf)
            most = std::max(most, n);
        return most;
    }
    [[nodiscard]] int operations() const { return inserted + removed + moves; }
    void clear()
    {
        inserted = removed = moves = resets = layoutChanges = 0;
        movesOf.clear();
    }

    int inserted = 0;
    int removed = 0;
    int moves = 0;
    int resets = 0;
    int layoutChanges = 0;
    QHash<QObject *, int> movesOf;

private:
    QAbstractItemModel *m_model;
};
