// Creating, entering and removing folders.
#include "runtime/system/files.h"

#include <windows.h>

namespace {

// ChangeDir and RemoveDir report every failure with this one status.
constexpr std::int32_t kDirectoryFailedStatus = 2;

} // namespace

void MakeDir(const StringValue &path) {
    IoStatus = 0;
    if (!CreateDirectoryA(path.c_str(), nullptr))
        IoStatus = static_cast<std::int32_t>(GetLastError());
}

void ChangeDir(const StringValue &path) {
    IoStatus = 0;
    if (!SetCurrentDirectoryA(path.c_str()))
        IoStatus = kDirectoryFailedStatus;
}

void RemoveDir(const StringValue &path) {
    IoStatus = 0;
    if (!RemoveDirectoryA(path.c_str()))
        IoStatus = kDirectoryFailedStatus;
}
