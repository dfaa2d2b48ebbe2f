#include "logpaging.h"

#include <algorithm>

namespace LogPaging {

const QList<int> &perPageChoices()
{
    static const QList<int> choices{10, 15, 25, 50, 200};
    return choices;
}

int maxPage(int totalEntries, int perPage)
{
    if (totalEntries <= 0 || perPage <= 0)
        return 0;
    return (totalEntries - 1) / perPage;
}

int clampPage(int page, int totalEntries, int perPage)
{
    return std::clamp(page, 0, maxPage(totalEntries, perPage));
}

} // namespace LogPaging
