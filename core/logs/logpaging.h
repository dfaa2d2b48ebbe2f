#pragma once

#include <QList>

// The page arithmetic of the paged log view.
namespace LogPaging {

// The per-page choices the view offers, and the initial one.
[[nodiscard]] const QList<int> &perPageChoices();
inline constexpr int kDefaultPerPage = 15;

// The highest page number (from 0) that holds entries: 31 entries at 15 per page give pages 0 to 2,
// 30 entries pages 0 and 1 (no empty trailing page). No entries, or a per-page count below 1, give 0.
[[nodiscard]] int maxPage(int totalEntries, int perPage);

// `page` held within 0 and maxPage.
[[nodiscard]] int clampPage(int page, int totalEntries, int perPage);

} // namespace LogPaging
