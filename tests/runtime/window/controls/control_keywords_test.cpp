// The keyword table and the text rules behind the window operations.
#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/window/control_keywords.h"

TEST(ControlKeywords, FoundWithoutRegardToCase) {
    const ControlKeyword *lower = FindControlKeyword("listbox");
    ASSERT_NE(nullptr, lower);
    EXPECT_EQ(lower, FindControlKeyword("LISTBOX"));
    EXPECT_EQ(lower, FindControlKeyword("ListBox"));
    EXPECT_STREQ("LISTBOX", lower->className);
    EXPECT_EQ(0x50B101C1u, lower->style);
    ASSERT_NE(nullptr, FindControlKeyword("GroupBox"));
    EXPECT_EQ(0x50020007u, FindControlKeyword("GroupBox")->style);
}

TEST(ControlKeywords, UnknownOrPartialKeywordsAreNotFound) {
    EXPECT_EQ(nullptr, FindControlKeyword("slider"));
    EXPECT_EQ(nullptr, FindControlKeyword("list"));
    EXPECT_EQ(nullptr, FindControlKeyword("listboxes"));
    EXPECT_EQ(nullptr, FindControlKeyword(""));
    EXPECT_EQ(nullptr, FindControlKeyword(nullptr));
}

TEST(ControlKeywords, NegativeHeightChoosesTheVariantOnlyForEditFields) {
    const ControlKeyword &edit = *FindControlKeyword("edit");
    EXPECT_EQ(0x50010080u, KeywordStyle(edit, 20));
    EXPECT_EQ(0x500100A0u, KeywordStyle(edit, -20));
    const ControlKeyword &multi = *FindControlKeyword("multiedit");
    EXPECT_EQ(0x50311144u, KeywordStyle(multi, 0));
    EXPECT_EQ(0x50211144u, KeywordStyle(multi, -1));
    EXPECT_EQ(0x500100A0u, KeywordStyle(*FindControlKeyword("spinedit"), -5));
    const ControlKeyword &list = *FindControlKeyword("listbox");
    EXPECT_EQ(list.style, KeywordStyle(list, -20));
}

TEST(SpinText, PositionMinimumMaximumWithDefaults) {
    SpinRange full = ParseSpinText("5;0;10");
    EXPECT_EQ(5, full.position);
    EXPECT_EQ(0, full.minimum);
    EXPECT_EQ(10, full.maximum);

    SpinRange none = ParseSpinText("");
    EXPECT_EQ(0, none.position);
    EXPECT_EQ(-32767, none.minimum);
    EXPECT_EQ(32767, none.maximum);

    SpinRange partial = ParseSpinText("-3;;7;99");
    EXPECT_EQ(-3, partial.position);
    EXPECT_EQ(-32767, partial.minimum);
    EXPECT_EQ(7, partial.maximum);
}

TEST(SpinText, NumbersAreReadFromTheStartOfEachPart) {
    EXPECT_EQ(12, LeadingInteger(" 12abc"));
    EXPECT_EQ(0, LeadingInteger("abc"));
    EXPECT_EQ(-7, LeadingInteger("-7"));
    EXPECT_EQ(INT32_MAX, LeadingInteger("99999999999"));
    EXPECT_EQ(INT32_MIN, LeadingInteger("-99999999999"));
}

TEST(DateText, FieldsFollowTheLocaleOrder) {
    DateFields date;
    ASSERT_TRUE(ParseDateText("3/14/2021", "/", 0, date));
    EXPECT_EQ(3, date.month);
    EXPECT_EQ(14, date.day);
    EXPECT_EQ(2021, date.year);

    ASSERT_TRUE(ParseDateText("14.03.2021", ".", 1, date));
    EXPECT_EQ(14, date.day);
    EXPECT_EQ(3, date.month);
    EXPECT_EQ(2021, date.year);

    ASSERT_TRUE(ParseDateText("2021-03-14", "-", 2, date));
    EXPECT_EQ(2021, date.year);
    EXPECT_EQ(3, date.month);
    EXPECT_EQ(14, date.day);
}

TEST(DateText, MissingPartsAreZeroAndUnknownOrdersLeaveTheDateUnset) {
    DateFields date;
    ASSERT_TRUE(ParseDateText("14.03", ".", 1, date));
    EXPECT_EQ(0, date.year);
    date.year = 1999;
    EXPECT_FALSE(ParseDateText("14.03.2021", ".", 3, date));
    EXPECT_EQ(1999, date.year);
}

TEST(TimeText, UpToThreeNumbersAndMissingPartsKeepTheirValues) {
    TimeFields time{8, 30, 0};
    ParseTimeText("13:45:30", time);
    EXPECT_EQ(13, time.hour);
    EXPECT_EQ(45, time.minute);
    EXPECT_EQ(30, time.second);

    TimeFields partial{8, 30, 0};
    ParseTimeText("7", partial);
    EXPECT_EQ(7, partial.hour);
    EXPECT_EQ(30, partial.minute);
    EXPECT_EQ(0, partial.second);
}

TEST(FrameStyle, TheApplicationsChoice) {
    FrameChoice choice = FrameStyleForBits(538, 0x100);
    EXPECT_EQ(0x2000u | 0x20000u | 0x80000u, choice.style);
    EXPECT_EQ(0x100u, choice.exStyle);
    EXPECT_TRUE(choice.noMenu);
    EXPECT_FALSE(choice.screenBackground);
    EXPECT_TRUE(choice.dialogMode);
}

TEST(FrameStyle, EachBitAddsItsPart) {
    EXPECT_EQ(0x2000u, FrameStyleForBits(0, 0x100).style);
    EXPECT_EQ(0x2000u | 0x10000u | 0x20000u | 0x40000u | 0x80000u, FrameStyleForBits(0xF, 0x100).style);
    EXPECT_TRUE(FrameStyleForBits(0x20, 0).screenBackground);
}

TEST(FrameStyle, PopupDropsTheCaptionAndTheWindowEdge) {
    FrameChoice popup = FrameStyleForBits(0x40 | 0x8, 0x100 | 0x8);
    EXPECT_EQ(0x80000000u | 0x2000u | 0x80000u, popup.style);
    EXPECT_EQ(0u, popup.style & 0x00C00000u);
    EXPECT_EQ(0x8u, popup.exStyle);
}

TEST(FolderPath, AlwaysEndsInOneBackslash) {
    EXPECT_EQ("C:\\windows\\", WithTrailingBackslash("C:\\windows"));
    EXPECT_EQ("C:\\", WithTrailingBackslash("C:\\"));
    EXPECT_EQ("\\", WithTrailingBackslash(""));
}
