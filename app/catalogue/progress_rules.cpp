#include "app/catalogue/progress_rules.h"

#include <string>

StringValue GroupedNumber(std::int32_t n) {
    std::string digits = std::to_string(n < 0 ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n));
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return StringValue((n < 0 ? "-" + digits : digits).c_str());
}

StringValue ProgressText(const StringValue &doing, std::int32_t done, std::int32_t total) {
    std::string text = std::string(doing.c_str()) + ": " + GroupedNumber(done).c_str() + " of " +
                       GroupedNumber(total).c_str() + (total == 1 ? " plugin" : " plugins");
    return StringValue(text.c_str());
}
