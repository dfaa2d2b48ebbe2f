// The price-history text of a computer: parsing and the billing page's rows.
#include "billing/pricehistory.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzsupport::bytes(data, size));
    const QList<PricePeriod> periods = PriceHistory::parse(text);
    const QVariantList rows = PriceHistory::displayRows(text);
    if (rows.size() != periods.size())
        __builtin_trap(); // the page shows a row per period
    return 0;
}
