#include "app/catalogue/recopy_journal.h"

#include <string>

#include "app/catalogue/plugin_rules.h"
#include "runtime/core/number_format.h"
#include "runtime/core/strings.h"

namespace {

constexpr char JournalHeading[] =
    "Quillsort re-sort: these plugins are on their way back to the plugin folder.";

StringValue Plural(std::int32_t count, const char *one, const char *many) {
    return StrConcat(IntegerToText(count), count == 1 ? one : many);
}

} // namespace

StringValue JournalText(const std::vector<StringValue> &names) {
    StringValue text = StrConcat(JournalHeading, "\r\n");
    for (const StringValue &name : names) {
        text = StrConcat(StrConcat(text, name), "\r\n");
    }
    return text;
}

std::vector<StringValue> JournalNames(const StringValue &text) {
    std::vector<StringValue> names;
    std::string all(text.data, text.length);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        std::string line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        StringValue name(line.c_str());
        if (line.find_first_of("\\/:*?\"<>|") == std::string::npos && IsPluginFileName(name, "src")) {
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

StringValue RecoveryQuestion(std::int32_t count) {
    StringValue text = StrConcat("A re-sort did not finish: ",
                                 Plural(count, " plugin file still waits", " plugin files still wait"));
    return StrConcat(text, " in the temporary folder ''temp'', where the browser cannot see "
                           "them.\r\rMove them back into the plugin folder now?");
}

StringValue RecoveryReport(const std::vector<StringValue> &back, const std::vector<StringValue> &left) {
    auto names = [](const std::vector<StringValue> &list) {
        StringValue text;
        for (const StringValue &name : list) {
            text = StrLength(text) == 0 ? name : StrConcat(StrConcat(text, "\r"), name);
        }
        return text;
    };
    StringValue text;
    if (!back.empty()) {
        text = StrConcat(Plural(static_cast<std::int32_t>(back.size()), " plugin file came back:\r\r",
                                " plugin files came back:\r\r"),
                         names(back));
    }
    if (!left.empty()) {
        StringValue part = StrConcat(
            Plural(static_cast<std::int32_t>(left.size()),
                   " plugin file could not be moved back and is still in the temporary folder:\r\r",
                   " plugin files could not be moved back and are still in the temporary folder:\r\r"),
            names(left));
        text = StrLength(text) == 0 ? part : StrConcat(StrConcat(text, "\r\r"), part);
    }
    return text;
}
