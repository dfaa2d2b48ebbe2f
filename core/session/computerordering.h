#pragma once

#include <functional>

class Computer;

// The display order of computers, chosen by the session's `computerOrder` (Computer::SortableProperty):
// most recently started first, by name (locale-aware), or by status rank. Ties go to the higher
// identifier first, so the order is total.
namespace ComputerOrdering {

using LessThan = std::function<bool(const Computer *, const Computer *)>;

[[nodiscard]] LessThan lessThan(int computerOrder);

} // namespace ComputerOrdering
