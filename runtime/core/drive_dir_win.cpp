// Directory of a drive through the per-drive current directories of Win32.
#include "runtime/core/drive_dir.h"

#include <windows.h>

#include "runtime/core/strings.h"

namespace {

// Room for any path GetCurrentDirectoryA returns for a drive.
constexpr DWORD DirBufferSize = 292;

StringValue CurrentDirectory() {
    char buffer[DirBufferSize] = {};
    const DWORD n = GetCurrentDirectoryA(DirBufferSize, buffer);
    if (n == 0 || n >= DirBufferSize)
        return StringValue();
    return StringValue(buffer, 0, n);
}

} // namespace

StringValue DriveDirectory(const StringValue &drive) {
    const StringValue first = StrUpper(StrLeft(drive, 1));
    if (first.length == 1 && first.data[0] == '@')
        return CurrentDirectory();

    // Remember where we are; the path may be longer than the drive buffer.
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    StringValue previous = StringValue::OfLength(needed);
    const DWORD got = GetCurrentDirectoryA(needed + 1, previous.data);
    const bool havePrevious = needed != 0 && got != 0 && got < needed + 1;

    const char letter[3] = {first.length ? first.data[0] : '\0', ':', '\0'};
    if (letter[0] == '\0' || !SetCurrentDirectoryA(letter))
        return StringValue();
    StringValue result = CurrentDirectory();
    if (havePrevious)
        SetCurrentDirectoryA(previous.data);
    return result;
}
