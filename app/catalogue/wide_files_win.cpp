// Folder entries by their wide-character names.
#include <windows.h>

#include "app/catalogue/wide_files.h"

namespace {

std::wstring Convert(UINT codePage, const char *bytes, int length) {
    if (length <= 0) {
        return std::wstring();
    }
    int size = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(codePage, 0, bytes, length, &text[0], size);
    }
    return text;
}

StringValue ConvertBack(UINT codePage, const std::wstring &text) {
    int length = static_cast<int>(text.size());
    if (length == 0) {
        return StringValue();
    }
    // The default character is only allowed for the ANSI code pages.
    const char *fallback = codePage == CP_UTF8 ? nullptr : "?";
    int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, fallback, nullptr);
    StringValue bytes = StringValue::OfLength(static_cast<std::uint64_t>(size > 0 ? size : 0));
    if (size > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data, size, fallback, nullptr);
    }
    return bytes;
}

} // namespace

bool FolderEntry::IsFolder() const {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::int32_t ListFolderEntries(const StringValue &folder, std::vector<FolderEntry> &entries) {
    entries.clear();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(folder, L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES
                   ? 0
                   : static_cast<std::int32_t>(error);
    }
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back(FolderEntry{name, found.dwFileAttributes});
        }
    } while (FindNextFileW(search, &found));
    DWORD error = GetLastError();
    FindClose(search);
    return error == ERROR_NO_MORE_FILES ? 0 : static_cast<std::int32_t>(error);
}

std::wstring WidePath(const StringValue &folder, const std::wstring &name) {
    std::wstring path = WideText(folder);
    return name.empty() ? path : path + L"\\" + name;
}

std::wstring WideText(const StringValue &text) {
    return Convert(CP_ACP, text.c_str(), static_cast<int>(text.length));
}

StringValue AnsiText(const std::wstring &text) {
    return ConvertBack(CP_ACP, text);
}

bool SameFileName(const std::wstring &a, const std::wstring &b) {
    return lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

std::int32_t MoveEntry(const StringValue &from, const StringValue &to, const std::wstring &name) {
    if (!MoveFileW(WidePath(from, name).c_str(), WidePath(to, name).c_str())) {
        return static_cast<std::int32_t>(GetLastError());
    }
    return 0;
}

bool EntryExists(const StringValue &folder, const std::wstring &name) {
    return GetFileAttributesW(WidePath(folder, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

StringValue Utf8Bytes(const std::wstring &text) {
    return ConvertBack(CP_UTF8, text);
}

std::wstring FromUtf8(const StringValue &bytes) {
    return Convert(CP_UTF8, bytes.c_str(), static_cast<int>(bytes.length));
}
