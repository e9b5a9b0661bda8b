#include "app/catalogue/recopy_journal.h"

#include <string>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_rules.h"
#include "runtime/core/number_format.h"
#include "runtime/core/strings.h"

namespace {

constexpr char JournalHeading[] =
    "Quillsort re-sort: these plugins are on their way back to the plugin folder.";
constexpr wchar_t StagingHeading[] =
    L"Quillsort re-sort journal: every file named below belongs in the plugin folder \"searchplugins\" "
    L"beside this folder. While it is here, the browser cannot see it; Quillsort moves it back.";
constexpr wchar_t AttributesLine[] = L"folder attributes: ";
constexpr wchar_t PluginLine[] = L"plugin: ";
constexpr wchar_t FileLine[] = L"file: ";
constexpr std::size_t ListedNames = 8;

StringValue Plural(std::int32_t count, const char *one, const char *many) {
    return StrConcat(IntegerToText(count), count == 1 ? one : many);
}

// The first few names, one a line, "..." after them.
StringValue NameLines(const std::vector<StringValue> &names) {
    StringValue text;
    for (std::size_t i = 0; i < names.size() && i <= ListedNames; ++i) {
        StringValue line = i == ListedNames ? StringValue("...") : names[i];
        text = i == 0 ? line : StrConcat(StrConcat(text, "\r"), line);
    }
    return text;
}

bool StartsWith(const std::wstring &line, const wchar_t *start) {
    return line.compare(0, std::char_traits<wchar_t>::length(start), start) == 0;
}

// A name that stands for a file in the folder itself.
bool PlainName(const std::wstring &name) {
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

} // namespace

std::wstring StagingJournalText(const StagingJournal &journal) {
    std::wstring text = std::wstring(StagingHeading) + L"\r\n";
    text += AttributesLine + std::to_wstring(journal.folderAttributes) + L"\r\n";
    for (const StagedFile &file : journal.files) {
        text += (file.plugin ? PluginLine : FileLine) + file.name + L"\r\n";
    }
    return text;
}

StagingJournal ParseStagingJournal(const std::wstring &text) {
    StagingJournal journal;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        start = end + 1;
        if (StartsWith(line, AttributesLine)) {
            std::wstring digits = line.substr(std::char_traits<wchar_t>::length(AttributesLine));
            if (!digits.empty() && digits.size() <= 10 &&
                digits.find_first_not_of(L"0123456789") == std::wstring::npos) {
                journal.folderAttributes = static_cast<std::uint32_t>(std::stoul(digits));
            }
            continue;
        }
        bool plugin = StartsWith(line, PluginLine);
        if (!plugin && !StartsWith(line, FileLine)) {
            continue;
        }
        std::wstring name = line.substr(std::char_traits<wchar_t>::length(plugin ? PluginLine : FileLine));
        if (PlainName(name)) {
            journal.files.push_back(StagedFile{name, plugin});
        }
    }
    return journal;
}

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

StringValue RecoveryQuestion(std::int32_t count, const StringValue &where) {
    StringValue text = StrConcat("A re-sort did not finish: ",
                                 Plural(count, " file still waits in ", " files still wait in "));
    text = StrConcat(StrConcat(text, where), ", where the browser cannot see ");
    return StrConcat(text, count == 1 ? "it.\r\rMove it back into the plugin folder now?"
                                      : "them.\r\rMove them back into the plugin folder now?");
}

StringValue RecoveryReport(const std::vector<StringValue> &back, const std::vector<StringValue> &left,
                           const StringValue &where) {
    StringValue text;
    if (!back.empty()) {
        text = StrConcat(
            Plural(static_cast<std::int32_t>(back.size()), " file came back:\r\r", " files came back:\r\r"),
            NameLines(back));
    }
    if (!left.empty()) {
        StringValue part =
            Plural(static_cast<std::int32_t>(left.size()), " file could not be moved back and is still in ",
                   " files could not be moved back and are still in ");
        part = StrConcat(StrConcat(StrConcat(part, where), ":\r\r"), NameLines(left));
        text = StrLength(text) == 0 ? part : StrConcat(StrConcat(text, "\r\r"), part);
    }
    return text;
}

StringValue FolderNotMadeReport(const StringValue &why, std::int32_t waiting, const StringValue &where) {
    StringValue text = StrConcat(StrConcat("The plugin folder could not be made again:\r", why), "\r\r");
    text = StrConcat(text, Plural(waiting, " file waits in ", " files wait in "));
    text = StrConcat(StrConcat(text, where), ", where the browser cannot see ");
    return StrConcat(text, waiting == 1 ? "it. Quillsort offers to move it back when it starts again or "
                                          "when you press Refresh List."
                                        : "them. Quillsort offers to move them back when it starts again or "
                                          "when you press Refresh List.");
}

StringValue StagingWhere() {
    return StrConcat(StrConcat("the folder ''", StagingName), "'' beside the plugin folder");
}

StringValue OldTempWhere() {
    return "the temporary folder ''temp''";
}
