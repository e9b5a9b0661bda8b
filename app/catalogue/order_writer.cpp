#include "app/catalogue/order_writer.h"

#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/plugin_rules.h"

#include "runtime/core/number_format.h"
#include "runtime/core/strings.h"

namespace {

constexpr std::int32_t ListedFailures = 8;

} // namespace

void Failures::Add(const StringValue &name, std::int32_t status) {
    denied = denied || StrLength(AccessHint(status)) > 0;
    ++count;
    if (count == 1) {
        names = name;
    } else if (count <= ListedFailures) {
        names = StrConcat(StrConcat(names, "\r"), name);
    } else if (count == ListedFailures + 1) {
        names = StrConcat(names, "\r...");
    }
}

StringValue FailureText(const Failures &failures) {
    StringValue text = FailureReport(failures.count, failures.names);
    return failures.denied ? StrConcat(StrConcat(text, "\r"), AccessHint(5)) : text;
}

StringValue OriginalName(const StringValue &name) {
    std::int32_t prefix = SortPrefixLength(name);
    return prefix == 0 ? name : StrRight(name, StrLength(name) - prefix);
}

std::int32_t PositionDigits(std::int32_t count) {
    std::int32_t digits = StrLength(IntegerToText(count > 1 ? count - 1 : 0));
    return digits < 2 ? 2 : digits;
}

StringValue SortedName(const StringValue &letter, std::int32_t position, std::int32_t digits,
                       const StringValue &name) {
    StringValue number = IntegerToText(position);
    StringValue padded = StrConcat(StrRepeat("0", digits - StrLength(number)), number);
    return StrConcat(StrConcat(StrConcat(letter, padded), "##"), OriginalName(name));
}

StringValue FailureReport(std::int32_t count, const StringValue &names) {
    StringValue text =
        StrConcat(IntegerToText(count), count == 1 ? " plugin file could not be renamed or moved:"
                                                   : " plugin files could not be renamed or moved:");
    return StrConcat(StrConcat(text, "\r\r"), names);
}

StringValue LateReturnReport(std::int32_t count, const StringValue &names) {
    StringValue text = StrConcat(IntegerToText(count),
                                 count == 1 ? " plugin file came back only on a second try and now stands"
                                            : " plugin files came back only on a second try and now stand");
    text = StrConcat(StrConcat(text, " after all the others, out of the wanted order:\r\r"), names);
    return StrConcat(text, count == 1 ? "\r\rRun the re-sort again to put it in its place."
                                      : "\r\rRun the re-sort again to put them in their places.");
}
