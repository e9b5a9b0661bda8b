// The functions and families that came after Windows XP SP3. A denylist, not
// the full export lists of XP's libraries: it covers what a C++ runtime or a
// modern Win32 habit tends to pull in.
#include "xp_rules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool StartsWith(const std::string &text, const char *start) {
    return text.compare(0, std::strlen(start), start) == 0;
}

bool EndsWith(const std::string &text, const char *end) {
    const std::size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

struct Family {
    enum Kind { Exact, Prefix, Contains, Suffix } kind;
    const char *pattern;
    const char *reason;
};

const Family Families[] = {
    {Family::Exact, "GetTickCount64", "GetTickCount64 (Vista)"},
    {Family::Contains, "ConditionVariable", "condition variables (Vista)"},
    {Family::Contains, "SRWLock", "slim reader/writer locks (Vista)"},
    {Family::Prefix, "InitOnce", "one-time initialisation (Vista)"},
    {Family::Prefix, "Fls", "fibre-local storage (Server 2003)"},
    {Family::Suffix, "Ex2", "*Ex2 functions (Windows 8 and later)"},
    {Family::Contains, "Threadpool", "the new thread pool (Vista)"},
    {Family::Prefix, "GetFinalPathNameByHandle", "GetFinalPathNameByHandle (Vista)"},
    {Family::Prefix, "QueryFullProcessImageName", "QueryFullProcessImageName (Vista)"},
    {Family::Prefix, "CreateSymbolicLink", "CreateSymbolicLink (Vista)"},
    {Family::Exact, "GetFileInformationByHandleEx", "GetFileInformationByHandleEx (Vista)"},
    {Family::Exact, "SetFileInformationByHandle", "SetFileInformationByHandle (Vista)"},
    {Family::Prefix, "SHGetKnownFolder", "known folders (Vista)"},
    {Family::Prefix, "TaskDialog", "task dialogs (Vista)"},
    // Functions that name a locale by name instead of by number.
    {Family::Exact, "GetLocaleInfoEx", "locale-name functions (Vista)"},
    {Family::Exact, "CompareStringEx", "locale-name functions (Vista)"},
    {Family::Exact, "LCMapStringEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetNumberFormatEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetCurrencyFormatEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetDateFormatEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetTimeFormatEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetCalendarInfoEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetDurationFormatEx", "locale-name functions (Vista)"},
    {Family::Exact, "EnumSystemLocalesEx", "locale-name functions (Vista)"},
    {Family::Exact, "EnumDateFormatsExEx", "locale-name functions (Vista)"},
    {Family::Exact, "EnumTimeFormatsEx", "locale-name functions (Vista)"},
    {Family::Exact, "EnumCalendarInfoExEx", "locale-name functions (Vista)"},
    {Family::Exact, "FindNLSStringEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetNLSVersionEx", "locale-name functions (Vista)"},
    {Family::Exact, "GetUserDefaultLocaleName", "locale-name functions (Vista)"},
    {Family::Exact, "GetSystemDefaultLocaleName", "locale-name functions (Vista)"},
    {Family::Exact, "LocaleNameToLCID", "locale-name functions (Vista)"},
    {Family::Exact, "LCIDToLocaleName", "locale-name functions (Vista)"},
    {Family::Exact, "IsValidLocaleName", "locale-name functions (Vista)"},
    {Family::Exact, "ResolveLocaleName", "locale-name functions (Vista)"},
    // Other functions a runtime library may reach for.
    {Family::Exact, "InitializeCriticalSectionEx", "InitializeCriticalSectionEx (Vista)"},
    {Family::Prefix, "CreateEventEx", "CreateEventEx (Vista)"},
    {Family::Prefix, "CreateMutexEx", "CreateMutexEx (Vista)"},
    {Family::Prefix, "CreateSemaphoreEx", "CreateSemaphoreEx (Vista)"},
    {Family::Exact, "CancelIoEx", "CancelIoEx (Vista)"},
    {Family::Exact, "CompareStringOrdinal", "CompareStringOrdinal (Vista)"},
    {Family::Exact, "GetErrorMode", "GetErrorMode (Vista)"},
    {Family::Exact, "SetThreadErrorMode", "SetThreadErrorMode (7)"},
    {Family::Exact, "GetThreadId", "GetThreadId (Server 2003)"},
    {Family::Exact, "GetSystemTimePreciseAsFileTime", "GetSystemTimePreciseAsFileTime (8)"},
    {Family::Prefix, "Wow64DisableWow64FsRedirection", "file system redirection control (Server 2003)"},
    {Family::Prefix, "RegGetValue", "RegGetValue (Vista on 32-bit)"},
    {Family::Prefix, "RegDeleteTree", "RegDeleteTree (Vista)"},
    {Family::Prefix, "RegSetKeyValue", "RegSetKeyValue (Vista)"},
    {Family::Prefix, "RegDeleteKeyEx", "RegDeleteKeyEx (Vista on 32-bit)"},
    {Family::Prefix, "RegCopyTree", "RegCopyTree (Vista)"},
    {Family::Exact, "SetProcessDPIAware", "SetProcessDPIAware (Vista)"},
    {Family::Prefix, "ChangeWindowMessageFilter", "ChangeWindowMessageFilter (Vista)"},
    {Family::Prefix, "ShutdownBlockReason", "ShutdownBlockReason (Vista)"},
};

} // namespace

bool IsXpSystemLibrary(const std::string &library) {
    static const char *const Libraries[] = {
        "kernel32.dll", "user32.dll",   "gdi32.dll",  "advapi32.dll", "comctl32.dll", "comdlg32.dll",
        "shell32.dll",  "shlwapi.dll",  "ole32.dll",  "oleaut32.dll", "msvcrt.dll",   "version.dll",
        "winmm.dll",    "winspool.drv", "ws2_32.dll", "uxtheme.dll",
    };
    const std::string name = Lower(library);
    return std::find(std::begin(Libraries), std::end(Libraries), name) != std::end(Libraries);
}

std::string XpLacks(const std::string &library, const std::string &function) {
    for (const Family &f : Families) {
        const bool match = (f.kind == Family::Exact && function == f.pattern) ||
                           (f.kind == Family::Prefix && StartsWith(function, f.pattern)) ||
                           (f.kind == Family::Contains && function.find(f.pattern) != std::string::npos) ||
                           (f.kind == Family::Suffix && EndsWith(function, f.pattern));
        if (match) {
            return f.reason;
        }
    }
    // XP's C library has none of the checked (_s) functions.
    if (Lower(library) == "msvcrt.dll" && EndsWith(function, "_s")) {
        return "checked C library functions (Vista)";
    }
    return "";
}
