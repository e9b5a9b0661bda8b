// Integer and floating-point conversion to text, and the locale start-up.
#include "runtime/core/number_format.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

std::int32_t FloatDecimals = 6;
std::int32_t NumberWidth = 0;
char DecimalSeparator[8] = ".";

namespace {

StringValue PaddedToWidth(const std::string &text) {
    std::string padded = text;
    if (NumberWidth > 0 && padded.size() < std::size_t(NumberWidth))
        padded.insert(0, std::size_t(NumberWidth) - padded.size(), ' ');
    return StringValue(padded.data(), 0, static_cast<std::uint32_t>(padded.size()));
}

} // namespace

void ResetNumberDefaults() {
    FloatDecimals = 6;
    NumberWidth = 0;
}

void StartNumberFormat() {
    if (!std::setlocale(LC_ALL, "English")) {
        std::strcpy(DecimalSeparator, ".");
        return;
    }
    const char *point = std::localeconv()->decimal_point;
    std::strncpy(DecimalSeparator, point ? point : ".", sizeof DecimalSeparator - 1);
    DecimalSeparator[sizeof DecimalSeparator - 1] = '\0';
    if (DecimalSeparator[0] == '\0')
        std::strcpy(DecimalSeparator, ".");
}

void EndNumberFormat() {
    std::strcpy(DecimalSeparator, ".");
}

StringValue IntegerToText(std::int32_t n) {
    return PaddedToWidth(std::to_string(n));
}

StringValue FloatToText(double x) {
    const int decimals = FloatDecimals < 0 ? 0 : (FloatDecimals > 340 ? 340 : FloatDecimals);
    // A fixed-point conversion sized to the number: large values have hundreds of
    // digits before the point.
    const int needed = std::snprintf(nullptr, 0, "%.*f", decimals, x);
    if (needed <= 0)
        return StringValue();
    std::string raw(std::size_t(needed) + 1, '\0');
    std::snprintf(&raw[0], raw.size(), "%.*f", decimals, x);
    raw.resize(std::size_t(needed));
    if (!std::isfinite(x))
        return PaddedToWidth(raw);
    // Whatever the C library wrote as its point (one or more bytes between the
    // digits) becomes our separator; the sign and the digits stay as they are.
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t point = 0;
    while (point < raw.size() && (isDigit(raw[point]) || raw[point] == '-'))
        ++point;
    std::size_t after = point;
    while (after < raw.size() && !isDigit(raw[after]))
        ++after;
    std::string text = raw.substr(0, point);
    if (point < raw.size())
        text += DecimalSeparator;
    text += raw.substr(after);
    return PaddedToWidth(text);
}
