// Text rules of the plugin operations.
#include <gtest/gtest.h>

#include <string>

#include "app/catalogue/catalogue_rules.h"
#include "app/catalogue/plugin_rules.h"

namespace {

std::string Bytes(const StringValue &value) {
    return std::string(value.data, value.length);
}

StringValue Value(const std::string &bytes) {
    return StringValue(bytes.data(), 0, static_cast<std::uint32_t>(bytes.size()));
}

// ReplaceShownName on bytes; "<not found>" when it gives false.
std::string Renamed(const std::string &text, const char *shown, const char *newName) {
    StringValue result;
    if (!ReplaceShownName(Value(text), shown, newName, result)) {
        return "<not found>";
    }
    return Bytes(result);
}

} // namespace

TEST(PluginRules, HiddenAndRestoredNamesReplaceTheLastThreeCharacters) {
    EXPECT_EQ("alpha.hid", Bytes(WithExtension("alpha.SRC", "hid")));
    EXPECT_EQ("alpha.src", Bytes(WithExtension("alpha.HID", "src")));
    EXPECT_EQ("A3##b.hid", Bytes(WithExtension("A3##b.src", "hid")));
}

TEST(PluginRules, IconBaseIsTheNameBeforeItsLastDot) {
    EXPECT_EQ("alpha", Bytes(IconBaseName("alpha.src")));
    EXPECT_EQ("my.src.copy", Bytes(IconBaseName("my.src.copy.SRC")));
    EXPECT_EQ("A1##alpha", Bytes(IconBaseName("A1##alpha.src")));
    EXPECT_EQ("noext", Bytes(IconBaseName("noext")));
}

TEST(PluginRules, RenameKeepsEveryByteButTheValue) {
    const std::string text = "<search\n version = '7.1'\r\n NAME = 'Foo'\r\n"
                             "description=\"Name='Foo'\"\n<input name='q'>";
    EXPECT_EQ("<search\n version = '7.1'\r\n NAME = 'Bar_X'\r\n"
              "description=\"Name='Foo'\"\n<input name='q'>",
              Renamed(text, "Foo", "Bar'X"));
    // The shown name read back from the result is the new one.
    StringValue result;
    ASSERT_TRUE(ReplaceShownName(Value(text), "Foo", "Bar'X", result));
    EXPECT_EQ("Bar_X", Bytes(ShownNameFromText(result)));
}

TEST(PluginRules, RenameFindsTheValueAsTheCatalogueReadIt) {
    // Blanks around "=" and a value that the normalisation changed.
    EXPECT_EQ("Name =  \"New One\"\n", Renamed("Name =  \"My Name engine\"\n", "My name engine", "New One"));
    // Quote characters in the new name become "_"; bytes beyond a zero byte count.
    EXPECT_EQ("name=\"__\"\"", Renamed("name=\"A\"\"", "A", "\"\""));
    EXPECT_EQ(std::string("x\0name=\"B\"\n", 11), Renamed(std::string("x\0name=\"A\"\n", 11), "A", "B"));
}

TEST(PluginRules, RenameRefusesTextsWithoutTheShownName) {
    EXPECT_EQ("<not found>", Renamed("<search method='get'>", "Foo", "Bar"));
    EXPECT_EQ("<not found>", Renamed("name='Other'", "Foo", "Bar"));
    EXPECT_EQ("<not found>", Renamed("name='Foo", "Foo", "Bar"));
    EXPECT_EQ("<not found>", Renamed("name=", "", "Bar"));
}

TEST(PluginRules, DosLineEndsTurnOnlyLoneLfs) {
    EXPECT_EQ("a\r\nb\r\nc\r\n\r\n", Bytes(ToDosLineEnds("a\nb\r\nc\r\n")));
    EXPECT_EQ("\r\nx\r\n", Bytes(ToDosLineEnds("\nx")));
    EXPECT_EQ("no lf\r\n", Bytes(ToDosLineEnds("no lf")));
    EXPECT_EQ(std::string("a\r\n\0b\r\n", 7), Bytes(ToDosLineEnds(Value(std::string("a\n\0b", 4)))));
}

TEST(PluginRules, OnlyTheFirstLfDecidesWhetherAFileIsConverted) {
    EXPECT_TRUE(AlreadyDosLineEnds("a\r\nb\nc\n"));
    EXPECT_FALSE(AlreadyDosLineEnds("a\nb\r\n"));
    EXPECT_FALSE(AlreadyDosLineEnds("\nb"));
    EXPECT_FALSE(AlreadyDosLineEnds("no lf at all\r"));
    EXPECT_FALSE(AlreadyDosLineEnds(""));
}

TEST(PluginRules, APluginFileNameHasExactlyThatExtensionInAnyCase) {
    EXPECT_TRUE(IsPluginFileName("a.src", "src"));
    EXPECT_TRUE(IsPluginFileName("K00##a.b.SRC", "src"));
    EXPECT_TRUE(IsPluginFileName("x.HiD", "HID"));
    for (const char *name : {"x.srcx", "x.src.bak", "x.sr", "src", ".src", "x.hid", "", "x."}) {
        EXPECT_FALSE(IsPluginFileName(name, "src")) << name;
    }
    EXPECT_FALSE(IsPluginFileName("x.hidden", "hid"));
}

TEST(PluginRules, OnlyAccessDeniedGetsTheAdministratorHint) {
    EXPECT_EQ("\rTry starting Quillsort as administrator.", Bytes(AccessHint(5)));
    for (std::int32_t code : {0, 2, 32, 112, 183}) {
        EXPECT_EQ("", Bytes(AccessHint(code))) << code;
    }
}
