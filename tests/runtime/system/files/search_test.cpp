// The process-wide file search, the size probe and the folder operations.
#include "temp_folder.h"

#include <set>
#include <vector>

namespace {

using Search = TempFolder;

// Every name of a search, until the empty result; checks the status on the way.
std::vector<std::string> Drain(std::string first) {
    std::vector<std::string> names;
    while (!first.empty()) {
        EXPECT_EQ(IoResult(), 0);
        names.push_back(first);
        first = FindNext().c_str();
    }
    EXPECT_EQ(IoResult(), 18);
    return names;
}

// The names as the file system enumerates them, folders bracketed.
std::vector<std::string> Enumerated(const std::string &mask) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE h = FindFirstFileA(mask.c_str(), &entry);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const bool folder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        names.push_back(folder ? "[" + std::string(entry.cFileName) + "]" : entry.cFileName);
    } while (FindNextFileA(h, &entry));
    FindClose(h);
    return names;
}

TEST_F(Search, ListsFilesAndBracketedFoldersInTheFileSystemsOrder) {
    Write("z.src", "");
    Write("a.src", "");
    Write("notes.txt", "");
    Write("hidden.src", "");
    SetFileAttributesA(Path("hidden.src").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(CreateDirectoryA(Path("b.src").c_str(), nullptr));
    const std::vector<std::string> names = Drain(FindFirst(P("*.SRC")).c_str());
    EXPECT_EQ(names, Enumerated(Path("*.SRC")));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"a.src", "[b.src]", "hidden.src", "z.src"}));
    EXPECT_EQ(FindNext().length, 0u); // stays at the end
    EXPECT_EQ(IoResult(), 18);

    const std::vector<std::string> all = Drain(FindFirst(P("*")).c_str());
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()),
              (std::set<std::string>{"[.]", "[..]", "a.src", "[b.src]", "hidden.src", "notes.txt", "z.src"}));
}

TEST_F(Search, NoMatchLeavesNoSearch) {
    Write("a.src", "");
    EXPECT_EQ(FindFirst(P("*.hid")).length, 0u);
    EXPECT_EQ(IoResult(), 18);
    EXPECT_EQ(FindNext().length, 0u);
    EXPECT_EQ(IoResult(), 18);
}

TEST_F(Search, ANewSearchAbandonsTheOldOne) {
    for (const char *name : {"one.src", "two.src", "three.src"})
        Write(name, "");
    ASSERT_TRUE(CreateDirectoryA(Path("other").c_str(), nullptr));
    Write("other\\x.hid", "");
    EXPECT_FALSE(FindFirst(P("*.src")).length == 0);
    EXPECT_EQ(Drain(FindFirst(P("other\\*.hid")).c_str()), std::vector<std::string>{"x.hid"});
    EXPECT_EQ(FindNext().length, 0u);
}

TEST_F(Search, FileSizeProbesWithoutDisturbingTheSearch) {
    Write("five", "12345");
    Write("empty", "");
    Write("list1", "");
    Write("list2", "");
    ASSERT_TRUE(CreateDirectoryA(Path("folder").c_str(), nullptr));
    const std::vector<std::string> expected = Enumerated(Path("list*"));
    std::vector<std::string> names{FindFirst(P("list*")).c_str()};
    EXPECT_EQ(FileSize(P("five")), 5);
    EXPECT_EQ(FileSize(P("fi?e")), 5);
    EXPECT_EQ(FileSize(P("empty")), 0);
    EXPECT_EQ(FileSize(P("folder")), 0);
    EXPECT_EQ(IoResult(), 0);
    EXPECT_EQ(TakeErrorKind(), 0);
    EXPECT_EQ(FileSize(P("missing")), -1);
    EXPECT_EQ(IoResult(), 103);
    EXPECT_EQ(TakeErrorKind(), 1);
    EXPECT_EQ(LastErrorNumber, 209);
    names.push_back(FindNext().c_str());
    EXPECT_EQ(names, expected);
}

TEST_F(Search, FolderOperationsAndTheirStatus) {
    const StringValue sub = P("sub");
    MakeDir(sub);
    EXPECT_EQ(IoResult(), 0);
    MakeDir(sub);
    EXPECT_EQ(IoResult(), ERROR_ALREADY_EXISTS);
    MakeDir(P("no\\such"));
    EXPECT_EQ(IoResult(), ERROR_PATH_NOT_FOUND);
    ChangeDir(sub);
    EXPECT_EQ(IoResult(), 0);
    Write("sub\\f", "");
    EXPECT_EQ(FileSize("f"), 0); // relative to the new current directory
    ChangeDir(P("missing"));
    EXPECT_EQ(IoResult(), 2);
    ChangeDir(StringValue(dir_.c_str()));
    RemoveDir(sub); // not empty
    EXPECT_EQ(IoResult(), 2);
    DeleteFileA(Path("sub\\f").c_str());
    RemoveDir(sub);
    EXPECT_EQ(IoResult(), 0);
    RemoveDir(sub); // gone
    EXPECT_EQ(IoResult(), 2);
    IoStatus = 5;
    EXPECT_EQ(IoResult(), 5);
    EXPECT_EQ(IoResult(), 0);
}

} // namespace
