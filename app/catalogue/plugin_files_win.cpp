// File steps shared by the order writer and the plugin operations.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_files.h"
#include "runtime/core/errors.h"
#include "runtime/core/memory_areas.h"
#include "runtime/core/number_format.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/files.h"

bool MoveFileTo(const StringValue &from, const StringValue &to) {
    AssignFile(1, from);
    RenameFile(1, to);
    return IoResult() == 0;
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
    std::int32_t level = ErrorLevel;
    SetErrorLevel(-1);
    std::int32_t size = FileSize(path);
    IoResult();
    TakeErrorKind();
    SetErrorLevel(level);
    if (size < 0 || size > limit) {
        return false;
    }
    char *area = nullptr;
    DimArea(&area, size + 1);
    std::int32_t mode = BlockFileMode;
    BlockFileMode = 0;
    AssignFile(1, path);
    OpenBlockFile(1);
    bool ok = IoResult() == 0;
    std::int32_t read = ok ? BlockRead(1, area, 0, size) : 0;
    ok = ok && IoResult() == 0 && read == size;
    CloseBlockFile(1);
    BlockFileMode = mode;
    if (ok) {
        bytes = StringValue(area, 0, static_cast<std::uint32_t>(size));
    }
    DisposeArea(&area);
    return ok;
}

bool WriteWholeFile(const StringValue &path, const StringValue &bytes) {
    IoResult();
    AssignFile(1, path);
    RewriteFile(1);
    if (IoResult() != 0) {
        CloseFile(1);
        IoResult();
        return false;
    }
    PrintToFile(1, bytes, 1);
    bool written = IoResult() == 0;
    CloseFile(1);
    return IoResult() == 0 && written;
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
