#include "app/catalogue/catalogue_rules.h"

#include "runtime/core/strings.h"

StringValue NormaliseNameEntries(const StringValue &text) {
    StringValue t = StrReplaceAll(text, "NAME", "name");
    t = StrReplaceAll(t, "Name", "name");
    t = StrReplaceAll(t, " =", "=");
    t = StrReplaceAll(t, "= ", "=");
    return StrReplaceAll(t, "= ", "=");
}

StringValue ShownNameFromText(const StringValue &text) {
    StringValue entry = StrField(NormaliseNameEntries(text), 2, "name=");
    StringValue delimiter = StrLeft(entry, 1);
    if (StrLength(delimiter) == 0) {
        return StringValue();
    }
    return StrField(entry, 2, delimiter);
}

bool IsFolderName(const StringValue &name) {
    return StrLength(name) >= 2 && name.data[0] == '[' && name.data[name.length - 1] == ']';
}

std::int32_t SortPrefixLength(const StringValue &name) {
    const char *text = name.c_str();
    std::uint32_t at = 0;
    if (name.length == 0 || text[0] < 'A' || text[0] > 'Z') {
        return 0;
    }
    for (at = 1; at < name.length && text[at] >= '0' && text[at] <= '9'; ++at) {
    }
    if (at < 3 || at + 2 >= name.length || text[at] != '#' || text[at + 1] != '#') {
        return 0;
    }
    return static_cast<std::int32_t>(at + 2);
}
