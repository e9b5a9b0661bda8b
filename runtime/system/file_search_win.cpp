// The process-wide file search and the size probe.
#include "runtime/system/files.h"

#include <windows.h>

#include <string>

#include "runtime/core/errors.h"

namespace {

constexpr std::int32_t kNoMoreNamesStatus = 18;
constexpr std::int32_t kNotFoundStatus = 103;
constexpr std::int32_t kNotFoundError = 209;

// The one search; INVALID_HANDLE_VALUE while none is open.
HANDLE SearchHandle = INVALID_HANDLE_VALUE;

// The entry's plain name; a folder's name in square brackets.
StringValue EntryName(const WIN32_FIND_DATAA &entry) {
    std::string name = entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        name = "[" + name + "]";
    return StringValue(name.c_str());
}

StringValue NoMoreNames() {
    IoStatus = kNoMoreNamesStatus;
    return StringValue();
}

} // namespace

void CloseFileSearch() {
    if (SearchHandle != INVALID_HANDLE_VALUE) {
        FindClose(SearchHandle);
        SearchHandle = INVALID_HANDLE_VALUE;
    }
}

StringValue FindFirst(const StringValue &mask) {
    CloseFileSearch();
    WIN32_FIND_DATAA entry;
    SearchHandle = FindFirstFileA(mask.c_str(), &entry);
    if (SearchHandle == INVALID_HANDLE_VALUE)
        return NoMoreNames();
    IoStatus = 0;
    return EntryName(entry);
}

StringValue FindNext() {
    WIN32_FIND_DATAA entry;
    if (SearchHandle == INVALID_HANDLE_VALUE || !FindNextFileA(SearchHandle, &entry)) {
        // An exhausted search gives nothing more; closing it at once releases
        // the folder instead of holding it open until the next search.
        CloseFileSearch();
        return NoMoreNames();
    }
    IoStatus = 0;
    return EntryName(entry);
}

std::int32_t FileSize(const StringValue &path) {
    IoStatus = 0;
    WIN32_FIND_DATAA entry;
    const HANDLE probe = FindFirstFileA(path.c_str(), &entry);
    if (probe == INVALID_HANDLE_VALUE) {
        IoStatus = kNotFoundStatus;
        RaiseNonFatal(kNotFoundError, path.c_str());
        return -1;
    }
    FindClose(probe);
    return static_cast<std::int32_t>(entry.nFileSizeLow);
}
