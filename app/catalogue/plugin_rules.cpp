#include "app/catalogue/plugin_rules.h"

#include <string>
#include <vector>

#include "runtime/core/strings.h"

StringValue WithExtension(const StringValue &name, const char *ext) {
    return StrConcat(StrLeft(name, StrLength(name) - 3), ext);
}

bool IsPluginFileName(const StringValue &name, const char *ext) {
    StringValue base = IconBaseName(name);
    if (StrLength(base) == 0 || StrLength(base) == StrLength(name)) {
        return false;
    }
    return StrEquals(StrLower(StrRight(name, StrLength(name) - StrLength(base) - 1)), StrLower(ext));
}

StringValue IconBaseName(const StringValue &file) {
    for (std::uint32_t i = file.length; i > 0; --i) {
        if (file.data[i - 1] == '.') {
            return StrLeft(file, static_cast<std::int32_t>(i - 1));
        }
    }
    return file;
}

StringValue AccessHint(std::int32_t error) {
    // Typical for a browser under Program Files and a user without
    // administrator rights.
    return error == 5 ? StringValue("\rTry starting Quillsort as administrator.") : StringValue();
}

StringValue SafetyCopyName(const StringValue &file) {
    return StrConcat(file, ".safety-copy");
}

namespace {

// The normalisation of the catalogue scan ("NAME"/"Name" to "name", one
// blank before and up to two after "=" removed), keeping for every byte of
// the result the index of the byte it came from.
std::string NormaliseWithOrigins(const std::string &text, std::vector<std::size_t> &origin) {
    std::string out;
    std::vector<std::size_t> from;
    auto pass = [&](const std::string &in, const std::vector<std::size_t> &inFrom, const std::string &search,
                    const std::string &repl) {
        std::string next;
        std::vector<std::size_t> nextFrom;
        std::size_t i = 0;
        while (i < in.size()) {
            if (in.compare(i, search.size(), search) == 0) {
                // Same-length replacements keep their origins; a removed blank
                // leaves the origin of the byte that stays.
                std::size_t keep = search.find(repl);
                for (std::size_t k = 0; k < repl.size(); ++k) {
                    next.push_back(repl[k]);
                    std::size_t src = repl.size() == search.size() ? k : keep + k;
                    nextFrom.push_back(inFrom[i + src]);
                }
                i += search.size();
            } else {
                next.push_back(in[i]);
                nextFrom.push_back(inFrom[i]);
                ++i;
            }
        }
        out.swap(next);
        from.swap(nextFrom);
    };
    std::vector<std::size_t> start(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        start[i] = i;
    }
    pass(text, start, "NAME", "name");
    std::string t = out;
    std::vector<std::size_t> f = from;
    pass(t, f, "Name", "name");
    t = out, f = from;
    pass(t, f, " =", "=");
    t = out, f = from;
    pass(t, f, "= ", "=");
    t = out, f = from;
    pass(t, f, "= ", "=");
    origin = from;
    return out;
}

} // namespace

bool ReplaceShownName(const StringValue &text, const StringValue &shown, const StringValue &newName,
                      StringValue &result) {
    std::string original(text.data, text.length);
    std::vector<std::size_t> origin;
    std::string normal = NormaliseWithOrigins(original, origin);
    std::size_t entry = normal.find("name=");
    if (entry == std::string::npos || entry + 5 >= normal.size()) {
        return false;
    }
    char quote = normal[entry + 5];
    std::string value(shown.data, shown.length);
    std::size_t valueStart = entry + 6;
    if (normal.compare(valueStart, value.size(), value) != 0 || valueStart + value.size() >= normal.size() ||
        normal[valueStart + value.size()] != quote) {
        return false;
    }
    // The value's bytes in the original text: from the byte after the quote
    // up to the closing quote, blanks that the normalisation dropped included.
    std::size_t from = origin[entry + 5] + 1;
    std::size_t to = origin[valueStart + value.size()];
    std::string name(newName.data, newName.length);
    for (char &c : name) {
        if (c == quote) {
            c = '_';
        }
    }
    std::string out = original.substr(0, from) + name + original.substr(to);
    result = StringValue(out.data(), 0, static_cast<std::uint32_t>(out.size()));
    return true;
}

StringValue ToDosLineEnds(const StringValue &text) {
    std::string out;
    out.reserve(text.length + text.length / 8 + 2);
    for (std::uint32_t i = 0; i < text.length; ++i) {
        if (text.data[i] == '\n' && (i == 0 || text.data[i - 1] != '\r')) {
            out.push_back('\r');
        }
        out.push_back(text.data[i]);
    }
    out += "\r\n";
    return StringValue(out.data(), 0, static_cast<std::uint32_t>(out.size()));
}

bool AlreadyDosLineEnds(const StringValue &text) {
    for (std::uint32_t i = 0; i < text.length; ++i) {
        if (text.data[i] == '\n') {
            return i > 0 && text.data[i - 1] == '\r';
        }
    }
    return false;
}
