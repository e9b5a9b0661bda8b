// The name rules of the order writer: sort prefixes, position digits and the
// failure report.
#include <gtest/gtest.h>

#include <string>

#include "app/catalogue/order_writer.h"
#include "app/catalogue/progress_rules.h"
#include "app/catalogue/recopy.h"
#include "app/catalogue/recopy_journal.h"

namespace {

std::string Text(const StringValue &s) {
    return std::string(s.c_str(), s.length);
}

} // namespace

TEST(OriginalName, DropsOnlyASortPrefixAtTheStart) {
    EXPECT_EQ(Text(OriginalName("alpha.src")), "alpha.src");
    EXPECT_EQ(Text(OriginalName("K03##alpha.src")), "alpha.src");
    EXPECT_EQ(Text(OriginalName("R00##name.src")), "name.src");
    EXPECT_EQ(Text(OriginalName("P04##beta.png")), "beta.png");
    EXPECT_EQ(Text(OriginalName("K100##q.src")), "q.src");
    // A "##" after the prefix belongs to the name.
    EXPECT_EQ(Text(OriginalName("K03##a##b.src")), "a##b.src");
    // Names that hold "##" but no prefix of the tool's own form keep it all.
    for (const char *name : {"a##b.src", "x##y##z.src", "##x.src", "k03##x.src", "K3##x.src", "KK03##x.src",
                             "K0a##x.src", "K03#x.src", "K03##",
                             "\xC9"
                             "03##x.src"}) {
        EXPECT_EQ(Text(OriginalName(name)), name);
    }
}

TEST(PositionDigits, AreAtLeastTwoAndEnoughForTheLastPosition) {
    EXPECT_EQ(PositionDigits(0), 2);
    EXPECT_EQ(PositionDigits(1), 2);
    EXPECT_EQ(PositionDigits(10), 2);
    EXPECT_EQ(PositionDigits(100), 2); // positions 00 to 99
    EXPECT_EQ(PositionDigits(101), 3); // position 100
    EXPECT_EQ(PositionDigits(1000), 3);
    EXPECT_EQ(PositionDigits(1001), 4);
}

TEST(SortedName, PrefixesLetterPaddedPositionAndTheOriginalName) {
    EXPECT_EQ(Text(SortedName("K", 0, 2, "alpha.src")), "K00##alpha.src");
    EXPECT_EQ(Text(SortedName("K", 9, 2, "alpha.src")), "K09##alpha.src");
    EXPECT_EQ(Text(SortedName("K", 10, 2, "alpha.src")), "K10##alpha.src");
    EXPECT_EQ(Text(SortedName("K", 12, 2, "P04##beta.src")), "K12##beta.src");
    EXPECT_EQ(Text(SortedName("M", 0, 2, "K00##alpha.gif")), "M00##alpha.gif");
    EXPECT_EQ(Text(SortedName("Z", 9, 3, "a.src")), "Z009##a.src");
    EXPECT_EQ(Text(SortedName("Z", 100, 3, "a.src")), "Z100##a.src");
    // Names holding "##" keep their extension and all of their name.
    EXPECT_EQ(Text(SortedName("K", 0, 2, "a##b.src")), "K00##a##b.src");
    EXPECT_EQ(Text(SortedName("K", 1, 2, "x##y##z.src")), "K01##x##y##z.src");
    EXPECT_EQ(Text(SortedName("M", 1, 2, "K01##x##y##z.png")), "M01##x##y##z.png");
}

TEST(FailureReport, CountsAndListsTheFiles) {
    EXPECT_EQ(Text(FailureReport(1, "a.src")), "1 plugin file could not be renamed or moved:\r\ra.src");
    EXPECT_EQ(Text(FailureReport(2, "a.src\rb.src")),
              "2 plugin files could not be renamed or moved:\r\ra.src\rb.src");
}

TEST(RecopyJournal, ListsOnlyPlainPluginFileNames) {
    std::vector<StringValue> names = JournalNames(JournalText({"a.src", "K00##b.SRC", "c d.src"}));
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(Text(names[1]), "K00##b.SRC");
    EXPECT_EQ(Text(names[2]), "c d.src");
    // The heading, folder parts, other extensions and blank lines are no names.
    std::vector<StringValue> none = JournalNames(
        "x.src is a heading\r\n..\\up.src\r\nC:\\abs.src\r\nsub/x.src\r\nx.srcx\r\n\r\n.src\nlf.src");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(Text(none[0]), "lf.src");
}

TEST(StagingJournal, KeepsEveryNameItsKindOrderAndTheFolderAttributes) {
    StagingJournal journal;
    journal.folderAttributes = 0x12;
    journal.files = {{L"google.src", true}, {L"K00##a b.SRC", true}, {L"\x0416\x043E\x0440.gif", false}};
    StagingJournal back = ParseStagingJournal(StagingJournalText(journal));
    EXPECT_EQ(back.folderAttributes, 0x12u);
    ASSERT_EQ(back.files.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(back.files[i].name == journal.files[i].name) << i;
        EXPECT_EQ(back.files[i].plugin, journal.files[i].plugin) << i;
    }
    // Lines of other kinds, names with a folder part and a bad number are skipped.
    StagingJournal odd = ParseStagingJournal(L"plugin: a.src\nfile: ..\\up.gif\nplugin: sub/x.src\nfile: "
                                             L"\nfolder attributes: 12x\nnote: b\nfile: c.txt");
    ASSERT_EQ(odd.files.size(), 2u);
    EXPECT_TRUE(odd.files[1].name == L"c.txt");
    EXPECT_EQ(odd.folderAttributes, 0u);
}

TEST(RecopyReports, NameFoldersAndCapLongLists) {
    EXPECT_NE(Text(SubFolderRefusal({"mine"})).find("holds the folder ''mine''. "), std::string::npos);
    EXPECT_NE(Text(SubFolderRefusal({"a", "b"})).find("holds the folders ''a'', ''b''. "), std::string::npos);
    std::vector<StringValue> back;
    for (int i = 0; i < 10; ++i) {
        back.push_back(StringValue(("p" + std::to_string(i) + ".src").c_str()));
    }
    std::string text = Text(RecoveryReport(back, {"x.gif"}, OldTempWhere()));
    EXPECT_EQ(text.substr(0, 19), "10 files came back:");
    EXPECT_NE(text.find("p7.src\r...\r\r1 file could not be moved back and is still in the temporary folder "
                        "''temp'':\r\rx.gif"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("p8.src"), std::string::npos);
}

TEST(ProgressText, CountsWithThousandsGroupedAndTheWordInNumber) {
    EXPECT_EQ(Text(GroupedNumber(0)), "0");
    EXPECT_EQ(Text(GroupedNumber(999)), "999");
    EXPECT_EQ(Text(GroupedNumber(1000)), "1,000");
    EXPECT_EQ(Text(GroupedNumber(1234567)), "1,234,567");
    EXPECT_EQ(Text(GroupedNumber(-12345)), "-12,345");
    EXPECT_EQ(Text(ProgressText("Sorting", 1200, 3000)), "Sorting: 1,200 of 3,000 plugins");
    EXPECT_EQ(Text(ProgressText("Recovering", 0, 1)), "Recovering: 0 of 1 plugin");
}
