// The file steps shared by the plugin operations and the order writer.
#include <gtest/gtest.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_files.h"
#include "plugin_scenario.h"
#include "runtime/core/errors.h"
#include "runtime/core/strings.h"
#include "tests/support/box_watch.h"

namespace {

std::string Text(const StringValue &value) {
    return std::string(value.data, value.length);
}

StringValue Path(const TempPluginFolder &folder, const char *file) {
    return StringValue((folder / file).c_str());
}

} // namespace

TEST(PluginFiles, FindPluginIconProbesSilentlyInItsOwnOrder) {
    TempPluginFolder folder;
    folder.Write("a.png", "PNG");
    folder.Write("a.gif", "GIF");
    folder.Write("b.jpg", "");
    std::string a, b, c;
    int level = 0;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        a = Text(FindPluginIcon("a.src"));
        b = Text(FindPluginIcon("b.src"));
        c = Text(FindPluginIcon("c.src"));
        level = ErrorLevel;
    });
    EXPECT_EQ("a.gif", a);
    EXPECT_EQ("b.jpg", b); // an empty icon counts here
    EXPECT_EQ("", c);
    EXPECT_EQ(1, level);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(PluginFiles, MoveFileToReportsWhetherItMoved) {
    TempPluginFolder folder;
    folder.Write("a.src", "A");
    folder.Write("b.src", "B");
    bool moved = false, blocked = true;
    RunPluginScenario(folder.Path(), [&] {
        moved = MoveFileTo(Path(folder, "a.src"), Path(folder, "c.src"));
        blocked = MoveFileTo(Path(folder, "b.src"), Path(folder, "c.src"));
    });
    EXPECT_TRUE(moved);
    EXPECT_FALSE(blocked);
    EXPECT_EQ("A", ReadBytes(folder / "c.src"));
    EXPECT_EQ("B", ReadBytes(folder / "b.src"));
}

TEST(PluginFiles, ReleaseReadOnlyClearsOnlyThatBitAndNeverEndsTheProgram) {
    TempPluginFolder folder;
    folder.Write("a.src", "A");
    SetFileAttributesA((folder / "a.src").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    DWORD before = GetFileAttributesA((folder / "a.src").c_str());
    bool released = false, missing = true, wentOn = false;
    int level = 0;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        released = ReleaseReadOnly(Path(folder, "a.src"));
        missing = ReleaseReadOnly(Path(folder, "gone.src"));
        wentOn = true;
        level = ErrorLevel;
    });
    EXPECT_TRUE(released);
    EXPECT_EQ(before & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY),
              GetFileAttributesA((folder / "a.src").c_str()));
    EXPECT_NE(0u, before & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(wentOn);
    EXPECT_EQ(1, level);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(PluginFiles, ReadWholeFileTakesEveryByteUpToItsLimit) {
    TempPluginFolder folder;
    const std::string bytes("a\r\nb\0c\rd\n", 10);
    folder.Write("a.src", bytes);
    folder.Write("empty.src", "");
    std::string read, empty;
    bool exact = false, over = true, gone = true;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        StringValue value;
        exact = ReadWholeFile(Path(folder, "a.src"), 10, value);
        read = Text(value);
        StringValue untouched("kept");
        over = ReadWholeFile(Path(folder, "a.src"), 9, untouched);
        ReadWholeFile(Path(folder, "empty.src"), 10, value);
        empty = Text(value);
        gone = ReadWholeFile(Path(folder, "gone.src"), 10, value);
    });
    EXPECT_TRUE(exact);
    EXPECT_EQ(bytes, read);
    EXPECT_FALSE(over);
    EXPECT_EQ("", empty);
    EXPECT_FALSE(gone);
    EXPECT_FALSE(FileExists(folder / "gone.src"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(PluginFiles, RewritePluginFileReplacesTheContentOrKeepsItWhole) {
    TempPluginFolder folder;
    folder.Write("a.src", "old content, longer than the new");
    SetFileAttributesA((folder / "a.src").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    folder.Write("held.src", "held");
    folder.Write("b.src", "b");
    folder.Write("b.src.safety-copy", "an earlier copy");
    RewriteOutcome written, refused, blocked;
    std::string unknown, notFound;
    RunPluginScenario(folder.Path(), [&] {
        written = RewritePluginFile(PluginFolder, "a.src", "old content, longer than the new",
                                    StringValue("new\r\n", 0, 5));
        // Open elsewhere without sharing: the file cannot be rewritten.
        HANDLE held =
            CreateFileA((folder / "held.src").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        refused = RewritePluginFile(PluginFolder, "held.src", "held", "x");
        CloseHandle(held);
        // A safety copy left by an earlier failure is never overwritten.
        blocked = RewritePluginFile(PluginFolder, "b.src", "b", "new b");
        unknown = Text(FileErrorText(0x7ffffff0));
        notFound = Text(FileErrorText(ERROR_FILE_NOT_FOUND));
    });
    EXPECT_EQ(0, written.error);
    EXPECT_EQ("new\r\n", ReadBytes(folder / "a.src"));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN),
              GetFileAttributesA((folder / "a.src").c_str()) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_NE(0, refused.error);
    EXPECT_EQ("", Text(refused.keptCopy));
    EXPECT_EQ("held", ReadBytes(folder / "held.src"));
    EXPECT_EQ(ERROR_FILE_EXISTS, blocked.error);
    EXPECT_EQ("b", ReadBytes(folder / "b.src"));
    EXPECT_EQ("an earlier copy", ReadBytes(folder / "b.src.safety-copy"));
    EXPECT_EQ((std::vector<std::string>{"a.src", "b.src", "b.src.safety-copy", "held.src"}),
              Listing(folder.Path()));
    EXPECT_EQ("error 2147483632", unknown);
    EXPECT_FALSE(notFound.empty());
    EXPECT_NE('\n', notFound.back());
}
