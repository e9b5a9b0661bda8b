// Whole-file reads and checked writes on their own handles.
#include "runtime/system/files_whole.h"

#include <windows.h>

#include <string>

namespace {

constexpr DWORD kChunk = 64 * 1024;

std::int32_t LastError() {
    const DWORD code = GetLastError();
    return code == 0 ? FileBytesDiffer : static_cast<std::int32_t>(code);
}

// The file's size from its handle, all 64 bits; false when it cannot be had.
bool SizeOf(HANDLE file, std::int64_t &size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(file, &value))
        return false;
    size = value.QuadPart;
    return true;
}

// Reads exactly size bytes from the handle's position into out, then checks
// that the file ends there and still has that size.
std::int32_t ReadExactly(HANDLE file, std::int64_t size, std::string &out) {
    out.assign(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < out.size()) {
        const std::size_t left = out.size() - done;
        const DWORD wanted = left < kChunk ? static_cast<DWORD>(left) : kChunk;
        DWORD read = 0;
        if (!ReadFile(file, &out[done], wanted, &read, nullptr))
            return LastError();
        if (read == 0)
            return FileTooLarge; // it shrank meanwhile
        done += read;
    }
    char extra = 0;
    DWORD read = 0;
    if (!ReadFile(file, &extra, 1, &read, nullptr))
        return LastError();
    std::int64_t now = 0;
    if (read != 0 || !SizeOf(file, now) || now != size)
        return FileTooLarge; // it grew meanwhile
    return 0;
}

bool Rewind(HANDLE file) {
    LARGE_INTEGER start;
    start.QuadPart = 0;
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

std::int32_t WriteAll(HANDLE file, const StringValue &bytes) {
    std::uint32_t done = 0;
    while (done < bytes.length) {
        const std::uint32_t left = bytes.length - done;
        const DWORD wanted = left < kChunk ? left : kChunk;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data + done, wanted, &written, nullptr))
            return LastError();
        if (written == 0)
            return FileBytesDiffer;
        done += written;
    }
    return 0;
}

// Writes bytes from the start of the handle's file, ends the file after them
// and flushes.
std::int32_t WriteFromStart(HANDLE file, const StringValue &bytes) {
    if (!Rewind(file))
        return LastError();
    std::int32_t status = WriteAll(file, bytes);
    if (status != 0)
        return status;
    if (!SetEndOfFile(file) || !FlushFileBuffers(file))
        return LastError();
    return 0;
}

// Compares what the file holds with bytes, read through a handle of its own
// after the writing one was closed: that is what the disk keeps, and some
// file-system drivers hand the writing handle stale bytes.
std::int32_t CompareWithFile(const StringValue &path, const StringValue &bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    std::string back;
    std::int32_t status = ReadExactly(file, bytes.length, back);
    CloseHandle(file);
    if (status == FileTooLarge ||
        (status == 0 && back.compare(0, back.size(), bytes.data, bytes.length) != 0))
        return FileBytesDiffer;
    return status;
}

} // namespace

std::int32_t ReadFileBytes(const StringValue &path, std::int64_t limit, StringValue &bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    std::int64_t size = 0;
    std::int32_t status = 0;
    if (!SizeOf(file, size))
        status = LastError();
    else if (size > limit || size > 0x7FFFFFFE)
        status = FileTooLarge;
    std::string content;
    if (status == 0)
        status = ReadExactly(file, size, content);
    CloseHandle(file);
    if (status == 0)
        bytes = StringValue(content.data(), 0, static_cast<std::uint32_t>(content.size()));
    return status;
}

std::int32_t CreateFileBytes(const StringValue &path, const StringValue &bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    std::int32_t status = WriteFromStart(file, bytes);
    if (!CloseHandle(file) && status == 0)
        status = LastError();
    if (status == 0)
        status = CompareWithFile(path, bytes);
    if (status != 0)
        DeleteFileA(path.c_str());
    return status;
}

std::int32_t OverwriteFileBytes(const StringValue &path, const StringValue &bytes, bool &touched) {
    touched = false;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    touched = true;
    std::int32_t status = WriteFromStart(file, bytes);
    if (!CloseHandle(file) && status == 0)
        status = LastError();
    if (status == 0)
        status = CompareWithFile(path, bytes);
    return status;
}
