#pragma once

#include <QObject>

#include <utility>

namespace Records {

// Sets a record's member and emits the property's change signal, but only when the value really changes,
// so that bindings and views do not redraw on every poll.
template <typename Owner, typename T, typename V>
void assign(Owner *owner, T &member, V &&value, void (Owner::*changed)())
{
    if (member == value)
        return;
    member = std::forward<V>(value);
    Q_EMIT(owner->*changed)();
}

} // namespace Records
