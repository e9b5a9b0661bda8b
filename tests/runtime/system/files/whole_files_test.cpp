// Whole-file reads and checked writes on real files: nothing is created by a
// read, sizes are taken in full, and an existing file is never replaced.
#include "runtime/system/files_whole.h"
#include "temp_folder.h"

namespace {

using WholeFiles = TempFolder;

std::string Text(const StringValue &value) {
    return std::string(value.data, value.length);
}

TEST_F(WholeFiles, ReadTakesEveryByteUpToTheLimitAndCreatesNothing) {
    const std::string bytes("a\r\nb\0c\rd\n", 10);
    Write("a.src", bytes);
    StringValue read("kept");
    EXPECT_EQ(ReadFileBytes(P("a.src"), 10, read), 0);
    EXPECT_EQ(Text(read), bytes);
    StringValue untouched("kept");
    EXPECT_EQ(ReadFileBytes(P("a.src"), 9, untouched), FileTooLarge);
    EXPECT_EQ(Text(untouched), "kept");
    EXPECT_EQ(ReadFileBytes(P("gone.src"), 10, untouched), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists("gone.src"));
    EXPECT_EQ(Text(untouched), "kept");
}

TEST_F(WholeFiles, ASizeBeyondFourGibibytesIsRefusedNotCut) {
    // 4 GiB and 16 bytes, sparse: its low 32 bits alone would say 16.
    HANDLE file = CreateFileA(Path("huge.src").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LONG high = 1;
    SetFilePointer(file, 16, &high, FILE_BEGIN);
    const bool sized = SetEndOfFile(file) != 0;
    CloseHandle(file);
    if (!sized) {
        GTEST_SKIP() << "this volume cannot hold a file of 4 GiB";
    }
    StringValue untouched("kept");
    EXPECT_EQ(ReadFileBytes(P("huge.src"), 0x7FFFFFFF, untouched), FileTooLarge);
    EXPECT_EQ(Text(untouched), "kept");
}

TEST_F(WholeFiles, CreateNeverReplacesAnExistingFile) {
    Write("there", "old");
    EXPECT_EQ(CreateFileBytes(P("there"), "new"), ERROR_FILE_EXISTS);
    EXPECT_EQ(Read("there"), "old");
    EXPECT_EQ(CreateFileBytes(P("fresh"), StringValue("a\0b", 0, 3)), 0);
    EXPECT_EQ(Read("fresh"), std::string("a\0b", 3));
    EXPECT_NE(CreateFileBytes(P("no folder\\x"), "x"), 0);
}

TEST_F(WholeFiles, OverwriteKeepsTheFileAndEndsItAfterTheNewBytes) {
    Write("a.src", "a long old content");
    bool touched = false;
    EXPECT_EQ(OverwriteFileBytes(P("a.src"), "short", touched), 0);
    EXPECT_TRUE(touched);
    EXPECT_EQ(Read("a.src"), "short");
    EXPECT_NE(OverwriteFileBytes(P("gone.src"), "x", touched), 0);
    EXPECT_FALSE(touched);
    EXPECT_FALSE(Exists("gone.src"));
    // Held elsewhere without sharing: not even opened, so left as it was.
    HANDLE held = CreateFileA(Path("a.src").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(OverwriteFileBytes(P("a.src"), "other", touched), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(touched);
    CloseHandle(held);
    EXPECT_EQ(Read("a.src"), "short");
}

} // namespace
