#include "editors/setting_text.h"

#include <climits>

namespace vm880 {

long LeadingWholeNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > (LONG_MAX - 9) / 10)
            return negative ? LONG_MIN : LONG_MAX; // absurdly long: saturate
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace vm880
