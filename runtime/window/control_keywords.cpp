// Keyword table of CreateByKeyword and the text rules of the window operations.
#include "runtime/window/control_keywords.h"

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// Window style bits used below (the Win32 values).
constexpr std::uint32_t kMaximizeBox = 0x10000;
constexpr std::uint32_t kMinimizeBox = 0x20000;
constexpr std::uint32_t kThickFrame = 0x40000;
constexpr std::uint32_t kSysMenu = 0x80000;
constexpr std::uint32_t kCaption = 0x00C00000;
constexpr std::uint32_t kPopup = 0x80000000;
constexpr std::uint32_t kExWindowEdge = 0x100;
constexpr std::uint32_t kExClientEdge = 0x200;

const ControlKeyword kKeywords[] = {
    {"button", "BUTTON", 0x50010000, 0, 0, ControlKind::Plain},
    {"defbutton", "BUTTON", 0x50010001, 0, 0, ControlKind::Plain},
    {"checkbox", "BUTTON", 0x50010003, 0, 0, ControlKind::Plain},
    {"radiobutton", "BUTTON", 0x50010009, 0, 0, ControlKind::Plain},
    {"text", "STATIC", 0x50000000, 0, 0, ControlKind::Plain},
    {"edit", "EDIT", 0x50010080, kExClientEdge, 0x500100A0, ControlKind::Edit},
    {"multiedit", "EDIT", 0x50311144, kExClientEdge, 0x50211144, ControlKind::MultiEdit},
    {"listbox", "LISTBOX", 0x50B101C1, kExClientEdge, 0, ControlKind::Plain},
    {"sortedlistbox", "LISTBOX", 0x50B101C3, kExClientEdge, 0, ControlKind::Plain},
    {"choicebox", "COMBOBOX", 0x50210303, 0, 0, ControlKind::Plain},
    {"groupbox", "BUTTON", 0x50020007, 0, 0, ControlKind::Plain},
    {"hscroll", "SCROLLBAR", 0x50010000, 0, 0, ControlKind::ScrollBar},
    {"vscroll", "SCROLLBAR", 0x50010001, 0, 0, ControlKind::ScrollBar},
    {"dialog", nullptr, 0, 0, 0, ControlKind::TemplateDialog},
    {"window", nullptr, 0, 0, 0, ControlKind::DialogWindow},
    {"tabctrl", "SysTabControl32", 0x54010000, 0, 0, ControlKind::TabControl},
    {"richedit", nullptr, 0x54214044, kExClientEdge, 0, ControlKind::RichEdit},
    {"spinedit", "EDIT", 0x50010080, kExClientEdge, 0x500100A0, ControlKind::SpinEdit},
    {"dateedit", "SysDateTimePick32", 0x50000000, kExClientEdge, 0, ControlKind::DateEdit},
    {"timeedit", "SysDateTimePick32", 0x50000009, kExClientEdge, 0, ControlKind::TimeEdit},
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(const char *a, const char *b) {
    for (; *a && *b; ++a, ++b)
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    return *a == *b;
}

std::vector<std::string> SplitAt(const std::string &text, const std::string &separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.push_back(text);
        return parts;
    }
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type found = text.find(separator, start);
        if (found == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

} // namespace

const ControlKeyword *FindControlKeyword(const char *keyword) {
    if (!keyword)
        return nullptr;
    for (const ControlKeyword &entry : kKeywords)
        if (SameWord(entry.keyword, keyword))
            return &entry;
    return nullptr;
}

std::uint32_t KeywordStyle(const ControlKeyword &entry, std::int32_t height) {
    bool hasVariant = entry.kind == ControlKind::Edit || entry.kind == ControlKind::MultiEdit ||
                      entry.kind == ControlKind::SpinEdit;
    return (hasVariant && height < 0) ? entry.variant : entry.style;
}

std::int32_t LeadingInteger(const std::string &text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

SpinRange ParseSpinText(const std::string &text) {
    SpinRange range;
    if (text.empty())
        return range;
    std::vector<std::string> parts = SplitAt(text, ";");
    std::int32_t *fields[] = {&range.position, &range.minimum, &range.maximum};
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        if (!parts[i].empty())
            *fields[i] = LeadingInteger(parts[i]);
    return range;
}

bool ParseDateText(const std::string &text, const std::string &separator, int order, DateFields &date) {
    std::int32_t *fields[3];
    switch (order) {
    case 0:
        fields[0] = &date.month, fields[1] = &date.day, fields[2] = &date.year;
        break;
    case 1:
        fields[0] = &date.day, fields[1] = &date.month, fields[2] = &date.year;
        break;
    case 2:
        fields[0] = &date.year, fields[1] = &date.month, fields[2] = &date.day;
        break;
    default:
        return false;
    }
    date = DateFields();
    std::vector<std::string> parts = SplitAt(text, separator);
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        *fields[i] = LeadingInteger(parts[i]);
    return true;
}

void ParseTimeText(const std::string &text, TimeFields &time) {
    std::vector<std::string> parts = SplitAt(text, ":");
    std::int32_t *fields[] = {&time.hour, &time.minute, &time.second};
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        *fields[i] = LeadingInteger(parts[i]);
}

FrameChoice FrameStyleForBits(std::uint32_t bits, std::uint32_t exStyle) {
    FrameChoice choice{0x2000, exStyle, false, false, false};
    if (bits & 0x1)
        choice.style |= kMaximizeBox;
    if (bits & 0x2)
        choice.style |= kMinimizeBox;
    if (bits & 0x4)
        choice.style |= kThickFrame;
    if (bits & 0x8)
        choice.style |= kSysMenu;
    choice.noMenu = (bits & 0x10) != 0;
    choice.screenBackground = (bits & 0x20) != 0;
    if (bits & 0x40) {
        choice.style = (choice.style | kPopup) & ~kCaption;
        choice.exStyle &= ~kExWindowEdge;
    }
    choice.dialogMode = (bits & 0x200) != 0;
    return choice;
}

std::string WithTrailingBackslash(const std::string &path) {
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + '\\';
}
