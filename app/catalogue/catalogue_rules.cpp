#include "app/catalogue/catalogue_rules.h"

#include <cstring>
#include <string>

#include "runtime/core/strings.h"

namespace {

// One normalisation pass on text in place: every occurrence of search, found
// left to right without overlap and without looking again at what was put in,
// becomes repl, which is never longer (so the text is rewritten front to back
// and no byte is written before it has been read).
void ReplaceInPlace(std::string &text, const char *search, const char *repl) {
    const std::size_t n = std::strlen(search);
    const std::size_t m = std::strlen(repl);
    const std::size_t size = text.size();
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < size) {
        if (text[in] == search[0] && size - in >= n && text.compare(in, n, search, n) == 0) {
            text.replace(out, m, repl, m);
            out += m;
            in += n;
        } else {
            text[out++] = text[in++];
        }
    }
    text.resize(out);
}

} // namespace

StringValue NormaliseNameEntries(const StringValue &text) {
    StringValue t = StrReplaceAll(text, "NAME", "name");
    t = StrReplaceAll(t, "Name", "name");
    t = StrReplaceAll(t, " =", "=");
    t = StrReplaceAll(t, "= ", "=");
    return StrReplaceAll(t, "= ", "=");
}

StringValue ShownNameFromText(const StringValue &text) {
    // The same passes and fields as NormaliseNameEntries, StrField(.., 2,
    // "name=") and StrField(.., 2, first character), made on one copy of the
    // text: the scan runs this for every plugin file, and five whole copies
    // of each file cost more than reading it.
    std::string t(text.data != nullptr ? text.data : "", text.length);
    ReplaceInPlace(t, "NAME", "name");
    ReplaceInPlace(t, "Name", "name");
    ReplaceInPlace(t, " =", "=");
    ReplaceInPlace(t, "= ", "=");
    ReplaceInPlace(t, "= ", "=");
    const std::size_t key = t.find("name=");
    if (key == std::string::npos) {
        return StringValue();
    }
    const std::size_t start = key + 5;
    const std::size_t next = t.find("name=", start);
    const std::size_t end = next == std::string::npos ? t.size() : next;
    if (start == end) {
        return StringValue();
    }
    const std::size_t close = t.find(t[start], start + 1);
    const std::size_t stop = close == std::string::npos || close > end ? end : close;
    return StringValue(t.data(), start + 1, static_cast<std::uint32_t>(stop - start - 1));
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
