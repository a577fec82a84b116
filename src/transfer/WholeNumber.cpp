#include "transfer/WholeNumber.h"

#include <limits>

std::optional<int64_t> parseWholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-')) {
        negative = t.at(i) == u'-';
        ++i;
    }
    if (i == t.size())
        return std::nullopt;

    constexpr int64_t Max = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int d = c - u'0';
        value = value > (Max - d) / 10 ? Max : value * 10 + d;
    }
    return negative ? -value : value;
}
