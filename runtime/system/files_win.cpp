// The 15 numbered file channels and the file status.
#include "runtime/system/files.h"

#include <windows.h>

#include <fstream>

#include "runtime/core/errors.h"
#include "runtime/core/memory_areas.h"

std::int32_t IoStatus = 0;
std::int32_t BlockFileMode = 2;

namespace {

constexpr std::int32_t kChannelCount = 15;
constexpr std::int32_t kBadChannelError = 210;
constexpr std::int32_t kUnreadableError = 300;
constexpr std::int32_t kNoPathStatus = 102;
constexpr std::int32_t kNotOpenStatus = 103;
constexpr std::int32_t kNotCreatedStatus = 2;
// What GetFileAttr yields when it fails and the program goes on.
constexpr std::int32_t kFailedAttributes = 9;

struct FileChannel {
    StringValue path;
    HANDLE block = INVALID_HANDLE_VALUE;
    // Owned by the channel from RewriteFile to CloseFile.
    std::ofstream *output = nullptr;
};

// Numbers 1 to 15 are used; record 0 is never touched. The table is never
// destroyed: at process end the streams are left to the operating system
// (the script thread may have been stopped inside one of them).
FileChannel *Channels() {
    static FileChannel *table = new FileChannel[kChannelCount + 1];
    return table;
}

// The channel's record, or null after the fatal error 210.
FileChannel *ChannelOf(std::int32_t channel) {
    if (channel < 1 || channel > kChannelCount) {
        RaiseFatal(kBadChannelError);
        return nullptr;
    }
    return &Channels()[channel];
}

std::int32_t Win32Status() {
    return static_cast<std::int32_t>(GetLastError());
}

void CloseBlockHandle(FileChannel &c) {
    if (c.block != INVALID_HANDLE_VALUE) {
        CloseHandle(c.block);
        c.block = INVALID_HANDLE_VALUE;
    }
}

// Flushes, closes and releases the stream; false when buffered bytes were lost.
bool CloseOutput(FileChannel &c) {
    bool written = true;
    if (c.output->is_open()) {
        c.output->clear();
        c.output->close();
        written = !c.output->fail();
    }
    delete c.output;
    c.output = nullptr;
    return written;
}

} // namespace

std::int32_t IoResult() {
    const std::int32_t status = IoStatus;
    IoStatus = 0;
    return status;
}

void StartFileLayer() {
    Channels();
    BlockFileMode = 2;
    IoStatus = 0;
    CloseFileSearch();
}

void EndFileLayer() {
    CloseFileSearch();
}

void AssignFile(std::int32_t channel, const StringValue &path) {
    if (FileChannel *c = ChannelOf(channel))
        c->path = path;
}

void OpenBlockFile(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    CloseBlockHandle(*c);
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    if (BlockFileMode == 0)
        access = GENERIC_READ;
    else if (BlockFileMode == 1)
        access = GENERIC_WRITE;
    // A read never creates: only a handle that may write makes a missing file.
    const DWORD disposition = BlockFileMode == 0 ? OPEN_EXISTING : OPEN_ALWAYS;
    c->block = CreateFileA(c->path.c_str(), access, 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (c->block == INVALID_HANDLE_VALUE)
        IoStatus = Win32Status();
}

std::int32_t BlockRead(std::int32_t channel, char *area, std::int32_t offset, std::int32_t count) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return count;
    if (c->block == INVALID_HANDLE_VALUE) {
        IoStatus = kNotOpenStatus;
        return -1;
    }
    IoStatus = 0;
    // Only what fits into the area from the offset on is read.
    const std::int32_t capacity = AreaSize(area);
    if (offset < 0 || offset > capacity || count <= 0)
        return 0;
    const std::int32_t room = capacity - offset;
    const DWORD wanted = static_cast<DWORD>(count < room ? count : room);
    DWORD read = 0;
    if (wanted > 0 && !ReadFile(c->block, area + offset, wanted, &read, nullptr))
        IoStatus = Win32Status();
    return static_cast<std::int32_t>(read);
}

void CloseBlockFile(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    if (c->block != INVALID_HANDLE_VALUE)
        CloseBlockHandle(*c);
    else if (c->output)
        CloseFile(channel);
}

void RewriteFile(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    if (c->path.length == 0) {
        IoStatus = kNoPathStatus;
        return;
    }
    if (c->output)
        CloseOutput(*c);
    c->output = new std::ofstream(c->path.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
    if (!c->output->is_open())
        IoStatus = kNotCreatedStatus;
}

void PrintToFile(std::int32_t channel, const StringValue &text, std::int32_t ending) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    if (!c->output || !c->output->good()) {
        IoStatus = kNotOpenStatus;
        return;
    }
    std::ofstream &out = *c->output;
    out.write(text.c_str(), static_cast<std::streamsize>(text.length));
    if (ending == 0)
        out.write(" ", 1);
    else if (ending == 2)
        out.write("\r\n", 2);
    if (!out.good()) {
        IoStatus = kNotOpenStatus;
        out.clear();
    }
}

void CloseFile(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    if (c->output) {
        if (!CloseOutput(*c))
            IoStatus = kNotOpenStatus;
        return;
    }
    CloseBlockHandle(*c);
    IoStatus = kNotOpenStatus;
}

void RenameFile(std::int32_t channel, const StringValue &newPath) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    if (!MoveFileA(c->path.c_str(), newPath.c_str()))
        IoStatus = Win32Status();
}

void EraseFile(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    IoStatus = 0;
    if (!DeleteFileA(c->path.c_str()))
        IoStatus = Win32Status();
}

std::int32_t GetFileAttr(std::int32_t channel) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return kFailedAttributes;
    const DWORD attributes = GetFileAttributesA(c->path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        RaiseFatal(kUnreadableError, c->path.c_str());
        return kFailedAttributes;
    }
    return static_cast<std::int32_t>(attributes);
}

void SetFileAttr(std::int32_t channel, std::int32_t attributes) {
    FileChannel *c = ChannelOf(channel);
    if (!c)
        return;
    if (!SetFileAttributesA(c->path.c_str(), static_cast<DWORD>(attributes)))
        RaiseFatal(kUnreadableError, c->path.c_str());
}
