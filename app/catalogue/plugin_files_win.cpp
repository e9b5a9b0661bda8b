// File steps shared by the order writer and the plugin operations.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_files.h"
#include "app/catalogue/plugin_rules.h"
#include "runtime/core/errors.h"
#include "runtime/core/memory_areas.h"
#include "runtime/core/number_format.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"
#include "runtime/system/files_whole.h"

bool MoveFileTo(const StringValue &from, const StringValue &to, std::int32_t *status) {
    AssignFile(1, from);
    RenameFile(1, to);
    std::int32_t result = IoResult();
    if (status != nullptr) {
        *status = result;
    }
    return result == 0;
}

StringValue FindPluginIcon(const StringValue &pluginFile) {
    static const char *const extensions[] = {".gif", ".png", ".jpg", ".ico"};
    StringValue base = StrLeft(pluginFile, StrLength(pluginFile) - 4);
    StringValue icon;
    SetErrorLevel(-1);
    for (const char *extension : extensions) {
        StringValue candidate = StrConcat(base, extension);
        if (FileSize(StrConcat(StrConcat(PluginFolder, "\\"), candidate)) != -1) {
            icon = candidate;
            break;
        }
    }
    IoResult();
    SetErrorLevel(1);
    return icon;
}

bool ReleaseReadOnly(const StringValue &path) {
    std::int32_t level = ErrorLevel;
    SetErrorLevel(-1);
    TakeErrorKind();
    AssignFile(1, path);
    std::int32_t attributes = GetFileAttr(1);
    // The error kind is taken once per step: taking it resets it.
    bool released = TakeErrorKind() == 0;
    if (released && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetFileAttr(1, attributes & ~FILE_ATTRIBUTE_READONLY);
        released = TakeErrorKind() == 0;
    }
    SetErrorLevel(level);
    return released;
}

bool ReadWholeFile(const StringValue &path, std::int32_t limit, StringValue &bytes) {
    // Opened first and sized by its handle: a file gone meanwhile is never
    // created, and a size of 4 GiB or more is never taken for its low part.
    return ReadFileBytes(path, limit, bytes) == 0;
}

RewriteOutcome RewritePluginFile(const StringValue &folder, const StringValue &file, const StringValue &old,
                                 const StringValue &bytes) {
    RewriteOutcome outcome;
    StringValue path = StrConcat(StrConcat(folder, "\\"), file);
    StringValue copy = StrConcat(StrConcat(folder, "\\"), SafetyCopyName(file));
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        outcome.error = static_cast<std::int32_t>(GetLastError());
        return outcome;
    }
    // A copy left by an earlier failure is never overwritten: it may be the
    // only whole version of the plugin.
    outcome.error = CreateFileBytes(copy, old);
    if (outcome.error != 0) {
        return outcome;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        !SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
        outcome.error = static_cast<std::int32_t>(GetLastError());
        DeleteFileA(copy.c_str());
        return outcome;
    }
    bool touched = false;
    outcome.error = OverwriteFileBytes(path, bytes, touched);
    if (outcome.error != 0) {
        // A file that could not even be opened still holds its old bytes.
        bool restored = !touched || OverwriteFileBytes(path, old, touched) == 0;
        SetFileAttributesA(path.c_str(), attributes);
        if (!restored) {
            outcome.keptCopy = SafetyCopyName(file);
            return outcome;
        }
    }
    DeleteFileA(copy.c_str());
    return outcome;
}

StringValue FileErrorText(std::int32_t code) {
    char buffer[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), buffer,
                                  sizeof buffer, nullptr);
    StringValue text = StrTrim(StringValue(buffer, 0, length));
    if (StrLength(text) == 0) {
        text = StrConcat("error ", IntegerToText(code));
    }
    return text;
}
