// File channels on real files: writing, block reads, closing, renaming,
// erasing, attributes and the status each leaves.
#include "temp_folder.h"

#include "runtime/core/memory_areas.h"

namespace {

using Channels = TempFolder;

TEST_F(Channels, NumbersOutsideOneToFifteenAreFatalAndDoNothing) {
    Write("f", "data");
    for (std::int32_t bad : {0, 16, -1}) {
        IoStatus = 55;
        AssignFile(bad, P("f"));
        EXPECT_EQ(TakeErrorKind(), 2);
        EXPECT_EQ(LastErrorNumber, 210);
        EXPECT_EQ(GetFileAttr(bad), 9);
        EXPECT_EQ(BlockRead(bad, nullptr, 0, 7), 7);
        EraseFile(bad);
        RewriteFile(bad);
        EXPECT_EQ(TakeErrorKind(), 2);
        EXPECT_EQ(IoStatus, 55);
    }
    EXPECT_EQ(Read("f"), "data");
    AssignFile(15, P("f"));
    EraseFile(15);
    EXPECT_EQ(TakeErrorKind(), 0);
    EXPECT_FALSE(Exists("f"));
}

TEST_F(Channels, PrintWritesBytesUnchangedWithEachEnding) {
    Write("out", "old contents that must go");
    AssignFile(1, P("out"));
    RewriteFile(1);
    EXPECT_EQ(IoResult(), 0);
    PrintToFile(1, "abc", 2);
    PrintToFile(1, "abc", 0);
    PrintToFile(1, "x\ny", 1);
    PrintToFile(1, StringValue("z\0z", 0, 3), 7);
    EXPECT_EQ(IoResult(), 0);
    CloseFile(1);
    EXPECT_EQ(IoResult(), 0);
    EXPECT_EQ(Read("out"), std::string("abc\r\nabc x\nyz\0z", 15));
    AssignFile(2, P("new"));
    RewriteFile(2);
    CloseFile(2);
    EXPECT_EQ(Read("new"), "");
}

TEST_F(Channels, WritingWithoutAUsableStreamSets103) {
    AssignFile(1, "");
    RewriteFile(1);
    EXPECT_EQ(IoResult(), 102);
    PrintToFile(1, "x", 1);
    EXPECT_EQ(IoResult(), 103);
    CloseFile(1);
    EXPECT_EQ(IoResult(), 103);
    // A stream that could not be opened stays until CloseFile; writes only set 103.
    AssignFile(1, P("missing\\out"));
    RewriteFile(1);
    EXPECT_EQ(IoResult(), 2);
    PrintToFile(1, "x", 1);
    EXPECT_EQ(IoResult(), 103);
    CloseFile(1);
    EXPECT_EQ(IoResult(), 0);
}

TEST_F(Channels, BlockReadsIntoAnAreaAndNeverPastIt) {
    Write("in", "0123456789ABCDEFGHIJ");
    char *area = nullptr;
    DimArea(&area, 8);
    AssignFile(3, P("in"));
    OpenBlockFile(3);
    EXPECT_EQ(IoResult(), 0);
    EXPECT_EQ(BlockRead(3, area, 2, 3), 3);
    EXPECT_EQ(std::string(area, 8), std::string("\0\0"
                                                "012\0\0\0",
                                                8));
    EXPECT_EQ(BlockRead(3, area, 3, 20), 5); // only the 5 bytes that fit
    EXPECT_EQ(std::string(area + 3, 5), "34567");
    EXPECT_EQ(BlockRead(3, area, 0, 100), 8);
    EXPECT_EQ(std::string(area, 8), "89ABCDEF");
    EXPECT_EQ(BlockRead(3, area, 0, 8), 4); // end of file
    EXPECT_EQ(BlockRead(3, area, 0, 8), 0);
    char plain[4] = {};
    EXPECT_EQ(BlockRead(3, plain, 0, 4), 0); // not a memory area
    EXPECT_EQ(IoResult(), 0);
    CloseBlockFile(3);
    EXPECT_EQ(BlockRead(3, area, 0, 1), -1);
    EXPECT_EQ(IoResult(), 103);
    EXPECT_EQ(BlockRead(4, area, 0, 1), -1);
    DisposeArea(&area);
}

TEST_F(Channels, OpenBlockCreatesMissingFilesAndHoldsThemExclusively) {
    char *area = nullptr;
    DimArea(&area, 4);
    AssignFile(1, P("fresh"));
    OpenBlockFile(1);
    EXPECT_EQ(IoResult(), 0);
    EXPECT_TRUE(Exists("fresh"));
    EXPECT_EQ(BlockRead(1, area, 0, 4), 0);
    AssignFile(2, P("fresh"));
    OpenBlockFile(2); // no sharing: the platform's reason is kept
    EXPECT_EQ(IoResult(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(BlockRead(2, area, 0, 4), -1);
    EraseFile(2);
    EXPECT_EQ(IoResult(), ERROR_SHARING_VIOLATION);
    CloseFile(1); // only a block handle: closed, and 103
    EXPECT_EQ(IoResult(), 103);
    EraseFile(2);
    EXPECT_EQ(IoResult(), 0);
    DisposeArea(&area);
}

TEST_F(Channels, OpenBlockForReadingNeverCreatesAFile) {
    const std::int32_t mode = BlockFileMode;
    BlockFileMode = 0;
    AssignFile(1, P("gone.src"));
    OpenBlockFile(1);
    EXPECT_EQ(IoResult(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(Exists("gone.src"));
    char *area = nullptr;
    DimArea(&area, 4);
    EXPECT_EQ(BlockRead(1, area, 0, 4), -1);
    EXPECT_EQ(IoResult(), 103);
    DisposeArea(&area);
    BlockFileMode = mode;
}

TEST_F(Channels, CloseBlockFileOnAnOutputStreamClosesIt) {
    AssignFile(1, P("out"));
    RewriteFile(1);
    PrintToFile(1, "kept", 1);
    IoStatus = 9;
    CloseBlockFile(1);
    EXPECT_EQ(IoResult(), 0);
    EXPECT_EQ(Read("out"), "kept");
}

TEST_F(Channels, RenameMovesAcrossFoldersAndKeepsTheOldPath) {
    ASSERT_TRUE(CreateDirectoryA(Path("sub").c_str(), nullptr));
    Write("a.src", "A");
    Write("taken", "T");
    AssignFile(1, P("a.src"));
    RenameFile(1, P("sub\\b.src"));
    EXPECT_EQ(IoResult(), 0);
    EXPECT_EQ(Read("sub\\b.src"), "A");
    RenameFile(1, P("c.src")); // the channel still names a.src, which is gone
    EXPECT_EQ(IoResult(), ERROR_FILE_NOT_FOUND);
    AssignFile(1, P("sub\\b.src"));
    RenameFile(1, P("taken"));
    EXPECT_EQ(IoResult(), ERROR_ALREADY_EXISTS);
    EraseFile(1);
    EXPECT_EQ(IoResult(), 0);
    EraseFile(1);
    EXPECT_EQ(IoResult(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Channels, AttributesOfReadOnlyFiles) {
    Write("ro", "x");
    SetFileAttributesA(Path("ro").c_str(), FILE_ATTRIBUTE_READONLY);
    IoStatus = 77;
    AssignFile(1, P("ro"));
    const std::int32_t attributes = GetFileAttr(1);
    EXPECT_EQ(attributes & 1, 1);
    EraseFile(1);
    EXPECT_EQ(IoResult(), ERROR_ACCESS_DENIED);
    SetFileAttr(1, attributes & ~1);
    EXPECT_EQ(GetFileAttr(1) & 1, 0);
    EXPECT_EQ(TakeErrorKind(), 0);
    EraseFile(1);
    EXPECT_EQ(IoResult(), 0);
    IoStatus = 77;
    EXPECT_EQ(GetFileAttr(1), 9);
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(LastErrorNumber, 300);
    SetFileAttr(1, 0);
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(IoResult(), 77);
    EXPECT_EQ(IoResult(), 0);
}

} // namespace
