// The catalogue's text rules: how a shown name is cut from a plugin file, how
// the browser folder is taken from registry texts, and the file names the
// order writer gives. They run on plain texts, so they are checked here on
// every build, natively under the sanitizers as well.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/location.h"
#include "app/catalogue/order_writer.h"
#include "app/catalogue/plugin_rules.h"
#include "runtime/core/strings.h"

namespace {

std::string S(const StringValue &v) {
    return std::string(v.data, v.length);
}
StringValue V(const std::string &s) {
    return StringValue(s.data(), 0, static_cast<std::uint32_t>(s.size()));
}

std::string Shown(const std::string &text) {
    return S(ShownNameFromText(V(text)));
}

} // namespace

TEST(ShownName, BlanksAroundTheEqualsSignAreAbsorbed) {
    EXPECT_EQ("Google", Shown("<search\r\n name = \"Google\"\r\n>"));
    EXPECT_EQ("Google", Shown("name=  \"Google\""));
}

TEST(ShownName, OnlyTwoCapitalisationsOfTheKeyCount) {
    EXPECT_EQ("Yahoo!", Shown("NAME=\"Yahoo!\"\r\n"));
    EXPECT_EQ("", Shown("nAmE=\"Hidden\"\r\n"));
    // The passes also change the value itself.
    EXPECT_EQ("My name", Shown("name=\"My Name\"\r\n"));
}

TEST(ShownName, TwoBlanksBeforeTheEqualsSignHideTheEntry) {
    EXPECT_EQ("", Shown("name  =\"Lost\"\r\n"));
    EXPECT_EQ("q", Shown("name  =\"Lost\"\r\n<input name=\"q\">\r\n"));
}

TEST(ShownName, TheFirstCharacterIsTheDelimiter) {
    EXPECT_EQ("oo", Shown("name=GooGle\r\n"));
    EXPECT_EQ("oogle\r\n", Shown("name=Google\r\n"));
}

TEST(ShownName, BlankValuesAreKeptUntrimmedForTheCaller) {
    EXPECT_EQ("   ", Shown("name=\"   \""));
    EXPECT_EQ(" abc ", Shown("name=\" abc \""));
    EXPECT_EQ("", Shown("no entry here"));
    EXPECT_EQ("", Shown(""));
}

// The scan's single-copy cut gives what the five passes and the two fields
// of the string functions give, on texts crowded with keys, blanks, equals
// signs and quotes (the places where a pass could absorb or miss a byte).
TEST(ShownName, SameAsTheStringFunctionPassesOnRandomTexts) {
    const char *const pieces[] = {"name", "NAME", "Name", "nAmE", " ",    "=",  "\"", "'", "n",  "a",
                                  "N",    "me",   "ame",  "x",    "\r\n", "\0", "##", "e", "= ", " ="};
    std::mt19937 random(16);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 24);
        for (int i = 0; i < count; ++i) {
            const char *piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
            text += piece[0] == 0 ? std::string(1, '\0') : std::string(piece);
        }
        StringValue entry = StrField(NormaliseNameEntries(V(text)), 2, "name=");
        StringValue delimiter = StrLeft(entry, 1);
        std::string expected = StrLength(delimiter) == 0 ? std::string() : S(StrField(entry, 2, delimiter));
        ASSERT_EQ(expected, Shown(text)) << "text: " << text;
    }
}

TEST(Catalogue, BracketedNamesAreFolders) {
    EXPECT_TRUE(IsFolderName("[sub.src]"));
    EXPECT_FALSE(IsFolderName("alpha.src"));
    EXPECT_FALSE(IsFolderName("["));
}

TEST(Location, FatalTitleIsPaddedToFourDigits) {
    EXPECT_EQ("Fatal Error (#0001)", S(FatalTitle(1)));
    EXPECT_EQ("Fatal Error (#0002)", S(FatalTitle(2)));
    EXPECT_EQ("Fatal Error (#12345)", S(FatalTitle(12345)));
    EXPECT_EQ("Can't find ''searchplugins'' folder!", S(FatalText(1)));
    EXPECT_EQ("Failed to create temporary folder!", S(FatalText(2)));
    EXPECT_EQ("", S(FatalText(3)));
}

TEST(Location, OnlyFatFileSystemsKeepTheRecopyMethod) {
    EXPECT_FALSE(UsesRenameMethod("FAT"));
    EXPECT_FALSE(UsesRenameMethod("FAT32"));
    EXPECT_TRUE(UsesRenameMethod("NTFS"));
    EXPECT_TRUE(UsesRenameMethod("fat32"));
    EXPECT_TRUE(UsesRenameMethod(""));
}

TEST(Location, FolderFromTheOpenCommand) {
    EXPECT_EQ("c:\\progra~1\\mozill~1\\",
              S(BrowserFolderFromCommand("C:\\PROGRA~1\\MOZILL~1\\FIREFOX.EXE -url \"%1\"")));
    EXPECT_EQ("c:\\progra~1\\mozill~1\\",
              S(BrowserFolderFromCommand("c:\\progra~1\\mozill~1\\firefox.exe -url %1")));
    // A command that starts with a quote leaves nothing before it.
    EXPECT_EQ("", S(BrowserFolderFromCommand("\"c:\\x\\firefox.exe\" -url \"%1\"")));
}

TEST(Location, InstallDirectoryAlwaysEndsInABackslash) {
    EXPECT_EQ("c:\\program files\\mozilla firefox\\",
              S(BrowserFolderFromInstallDirectory("C:\\Program Files\\Mozilla Firefox\\")));
    EXPECT_EQ("c:\\program files\\mozilla firefox\\",
              S(BrowserFolderFromInstallDirectory("C:\\Program Files\\Mozilla Firefox")));
    EXPECT_EQ("", S(BrowserFolderFromInstallDirectory("")));
}

TEST(OrderWriter, NamesCarryLetterPositionAndOriginalName) {
    EXPECT_EQ("K00##alpha.src", S(SortedName("K", 0, 2, "alpha.src")));
    EXPECT_EQ("K12##beta.src", S(SortedName("K", 12, 2, "P04##beta.src")));
    EXPECT_EQ("M09##alpha.gif", S(SortedName("M", 9, 2, "K00##alpha.gif")));
    EXPECT_EQ("alpha.src", S(OriginalName("K03##alpha.src")));
    EXPECT_EQ("alpha.src", S(OriginalName("alpha.src")));
}

TEST(OrderWriter, PositionsArePaddedAlikeWithinOneResort) {
    EXPECT_EQ(2, PositionDigits(0));
    EXPECT_EQ(2, PositionDigits(1));
    EXPECT_EQ(2, PositionDigits(100));
    EXPECT_EQ(3, PositionDigits(101));
    EXPECT_EQ(4, PositionDigits(1001));
    EXPECT_EQ("A005##x.src", S(SortedName("A", 5, PositionDigits(150), "x.src")));
    EXPECT_EQ("A100##x.src", S(SortedName("A", 100, PositionDigits(150), "x.src")));
}

TEST(PluginOps, HiddenNamesReplaceTheLastThreeCharacters) {
    EXPECT_EQ("alpha.hid", S(WithExtension("alpha.SRC", "hid")));
    EXPECT_EQ("alpha.src", S(WithExtension("alpha.HID", "src")));
}

TEST(PluginOps, RenameChangesOnlyTheEntryValue) {
    StringValue out;
    std::string file = "<search\r\n   NAME = 'Foo'\r\n   version = '7.1'\n   Name='Foo'\r\n>";
    ASSERT_TRUE(ReplaceShownName(V(file), "Foo", "Bar'X", out));
    EXPECT_EQ("<search\r\n   NAME = 'Bar_X'\r\n   version = '7.1'\n   Name='Foo'\r\n>", S(out));
}

TEST(PluginOps, RenameKeepsBytesAfterAnEmbeddedZero) {
    StringValue out;
    std::string file("name=\"A b\"\r\n\0tail", 16);
    ASSERT_TRUE(ReplaceShownName(V(file), "A b", "Zed", out));
    EXPECT_EQ(std::string("name=\"Zed\"\r\n\0tail", 16), S(out));
}

TEST(PluginOps, RenameWithoutTheEntryChangesNothing) {
    StringValue out;
    EXPECT_FALSE(ReplaceShownName(V("name=\"Other\""), "Foo", "Bar", out));
    EXPECT_FALSE(ReplaceShownName(V("no entry"), "Foo", "Bar", out));
    EXPECT_FALSE(ReplaceShownName(V("name="), "Foo", "Bar", out));
}

TEST(PluginOps, ConvertTurnsOnlyLoneLineFeedsIntoCrLf) {
    EXPECT_EQ("a\r\nb\r\nc\r\n\r\n", S(ToDosLineEnds("a\nb\r\nc\n")));
    EXPECT_EQ("abc\r\n", S(ToDosLineEnds("abc")));
    EXPECT_EQ("\r\nx\r\n", S(ToDosLineEnds("\nx")));
    EXPECT_TRUE(AlreadyDosLineEnds("a\r\nb\nc"));
    EXPECT_FALSE(AlreadyDosLineEnds("a\nb\r\n"));
    EXPECT_FALSE(AlreadyDosLineEnds("\nb"));
    EXPECT_FALSE(AlreadyDosLineEnds("no line end"));
}
