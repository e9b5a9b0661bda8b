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
