#include "session/computerordering.h"

#include "computer/computer.h"

#include <QCollator>

#include <memory>

namespace ComputerOrdering {

LessThan lessThan(int computerOrder)
{
    switch (computerOrder) {
    case Computer::LastStartedTime:
        return [](const Computer *a, const Computer *b) {
            if (a->lastStartedTime() != b->lastStartedTime())
                return a->lastStartedTime() > b->lastStartedTime();
            return a->identifier() > b->identifier();
        };
    case Computer::UserInstanceName: {
        auto collator = std::make_shared<QCollator>();
        return [collator](const Computer *a, const Computer *b) {
            const int byName = collator->compare(a->userInstanceName(), b->userInstanceName());
            if (byName != 0)
                return byName < 0;
            return a->identifier() > b->identifier();
        };
    }
    default:
        return [](const Computer *a, const Computer *b) {
            const int rankA = a->getStatusOrder();
            const int rankB = b->getStatusOrder();
            if (rankA != rankB)
                return rankA < rankB;
            return a->identifier() > b->identifier();
        };
    }
}

} // namespace ComputerOrdering
