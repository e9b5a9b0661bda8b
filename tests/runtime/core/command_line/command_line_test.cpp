#include "runtime/core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Split {
    std::vector<std::string> tokens;
    std::int32_t count = -1;
};

Split SplitText(std::string text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    std::vector<StringValue> list;
    Split result;
    SplitCommandLine(buffer.data(), list, result.count);
    for (const StringValue &token : list) {
        result.tokens.emplace_back(token.c_str(), token.length);
    }
    return result;
}

using Tokens = std::vector<std::string>;

TEST(CommandLineSplit, QuotedPathQuotedBlankAndPlainToken) {
    Split s = SplitText("\"C:\\Program Files\\qs.exe\" \"two words\" plain");
    EXPECT_EQ(s.tokens, (Tokens{"C:\\Program Files\\qs.exe", "two words", "plain"}));
    EXPECT_EQ(s.count, 2);
}

TEST(CommandLineSplit, ProgramAloneCountsZero) {
    EXPECT_EQ(SplitText("qs.exe").count, 0);
    EXPECT_EQ(SplitText("\"C:\\a b\\qs.exe\"  ").count, 0);
}

TEST(CommandLineSplit, BlanksAndTabs) {
    // Runs of blanks separate, trailing blanks make no token, tabs are token bytes.
    Split s = SplitText("  qs.exe   a\tb   c   ");
    EXPECT_EQ(s.tokens, (Tokens{"qs.exe", "a\tb", "c"}));
    EXPECT_EQ(s.count, 2);
}

TEST(CommandLineSplit, QuoteEdgeCases) {
    // An empty pair is a counted empty token.
    EXPECT_EQ(SplitText("qs.exe \"\" x").tokens, (Tokens{"qs.exe", "", "x"}));
    // An unclosed quote runs to the end of the line, blanks included.
    EXPECT_EQ(SplitText("qs.exe \"open to  end ").tokens, (Tokens{"qs.exe", "open to  end "}));
    // A quote inside an unquoted token is an ordinary byte.
    EXPECT_EQ(SplitText("qs.exe ab\"cd").tokens, (Tokens{"qs.exe", "ab\"cd"}));
    // Right after a closing quote a new token begins.
    EXPECT_EQ(SplitText("\"ab\"cd e").tokens, (Tokens{"ab", "cd", "e"}));
}

TEST(CommandLineSplit, EmptyAndNullTextGiveNoTokens) {
    Split s = SplitText("");
    EXPECT_TRUE(s.tokens.empty());
    EXPECT_EQ(s.count, -1);
    std::vector<StringValue> list;
    std::int32_t count = -1;
    SplitCommandLine(nullptr, list, count);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(count, -1);
}

TEST(CommandLineSplit, HighBytesKept) {
    Split s = SplitText("qs.exe \"Gr\xFC\xDF"
                        "e\" \xE4");
    EXPECT_EQ(s.tokens, (Tokens{"qs.exe",
                                "Gr\xFC\xDF"
                                "e",
                                "\xE4"}));
}

TEST(ParameterList, LoadLeavesCallerTextAndReloadsFresh) {
    std::string original = "prog \"a b\" c";
    std::string text = original;
    LoadParameterList(text.c_str());
    EXPECT_EQ(text, original);
    ASSERT_EQ(ParameterList.size(), 3u);
    EXPECT_STREQ(ParameterList[1].c_str(), "a b");
    EXPECT_EQ(ParameterCount, 2);

    LoadParameterList("other");
    ASSERT_EQ(ParameterList.size(), 1u);
    EXPECT_EQ(ParameterCount, 0);

    ClearParameterList();
    EXPECT_TRUE(ParameterList.empty());
    EXPECT_EQ(ParameterCount, -1);
}

} // namespace
