#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class Computer;

// One grid of computer cards: a list model with the single role `machine` (the Computer). It follows a
// list of computers by removing, appending and moving rows only, never by a reset, so that a card of a
// computer that stays keeps its delegate.
class MachineListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by MainContext")
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    enum Roles { MachineRole = Qt::UserRole + 1 };
    using LessThan = std::function<bool(const Computer *, const Computer *)>;

    explicit MachineListModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // The computer of a row; null outside the rows.
    Q_INVOKABLE [[nodiscard]] Computer *get(int row) const;
    [[nodiscard]] const QList<Computer *> &machines() const { return m_rows; }

    // Makes the rows equal to `machines` (already in display order): rows of computers no longer listed
    // are removed (last row first), computers without a row are appended, then rows are moved into
    // order. Computers are matched by identifier; a row keeps its record object.
    void sync(const QList<Computer *> &machines);
    // Brings the rows into `lessThan` order with single-row moves.
    void sortRows(const LessThan &lessThan);

Q_SIGNALS:
    void countChanged();

private:
    // Moves rows until they equal `target` (same computers, other order). Rows that already stand in the
    // longest run of correct relative order stay; every other row moves once, straight to its place.
    void arrange(const QList<Computer *> &target);

    QList<Computer *> m_rows;
};
