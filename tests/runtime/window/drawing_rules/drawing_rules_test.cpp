// Colour values, bitmap names and console line cutting.
#include <gtest/gtest.h>

#include "runtime/window/drawing_rules.h"

TEST(ColourFrom15Bit, ExpandsEachPartToTheFullRange) {
    EXPECT_EQ(0xFFFFFFu, ColourFrom15Bit(0x7FFF));
    EXPECT_EQ(0x0000FFu, ColourFrom15Bit(0x001F)); // red only
    EXPECT_EQ(0x00FF00u, ColourFrom15Bit(0x03E0)); // green only
    EXPECT_EQ(0xFF0000u, ColourFrom15Bit(0x7C00)); // blue only
    EXPECT_EQ(0u, ColourFrom15Bit(0));
    // Truncated, not rounded: 1 * 8.226 -> 8, 16 * 8.226 = 131.6 -> 131.
    EXPECT_EQ(0x830808u, ColourFrom15Bit(1 | (1 << 5) | (16 << 10)));
    // Bits above the 15 are ignored.
    EXPECT_EQ(0xFFFFFFu, ColourFrom15Bit(0xFFFF8000u | 0x7FFF));
}

TEST(BitmapNames, OnlyAllDigitNamesAreNumericIds) {
    EXPECT_TRUE(IsNumericName("2"));
    EXPECT_TRUE(IsNumericName("0123"));
    EXPECT_FALSE(IsNumericName(""));
    EXPECT_FALSE(IsNumericName("FIREFOX"));
    EXPECT_FALSE(IsNumericName("2a"));
    EXPECT_FALSE(IsNumericName("-2"));
    EXPECT_FALSE(IsNumericName("C:\\pictures\\2.bmp"));
    EXPECT_EQ(2, NumericNameId("2"));
    EXPECT_EQ(123, NumericNameId("0123"));
    // Low 16 bits of the value, also for numbers that overflow 32 bits.
    EXPECT_EQ(1, NumericNameId("65537"));
    EXPECT_EQ(static_cast<std::uint16_t>(12345678901234ull & 0xFFFF), NumericNameId("12345678901234"));
}

TEST(ConsoleText, LineBreaksAreRemoved) {
    EXPECT_EQ("abcd", WithoutLineBreaks("a\r\nb\nc\rd\n"));
    EXPECT_EQ("", WithoutLineBreaks("\r\n\r\n"));
}

TEST(ConsoleText, WrapCutsAtTheRoomLeftOnTheLine) {
    std::string hundred(100, 'x');
    ConsolePiece piece = NextConsolePiece(hundred, ConsoleEndNothing, true, 100, 20);
    EXPECT_TRUE(piece.cut);
    EXPECT_EQ(80u, piece.text.size());
    EXPECT_EQ(20u, piece.rest.size());
    // The rest fits on the next line.
    ConsolePiece next = NextConsolePiece(piece.rest, ConsoleEndNothing, true, 100, 0);
    EXPECT_FALSE(next.cut);
    EXPECT_EQ(20u, next.text.size());
}

TEST(ConsoleText, WithoutWrapTheTextRunsOn) {
    ConsolePiece piece = NextConsolePiece(std::string(100, 'x'), ConsoleEndNewLine, false, 80, 0);
    EXPECT_FALSE(piece.cut);
    EXPECT_EQ(100u, piece.text.size());
}

TEST(ConsoleText, EndingZeroAppendsOneSpaceAlsoToACutLine) {
    EXPECT_EQ("ab ", NextConsolePiece("ab", ConsoleEndSpace, true, 80, 0).text);
    EXPECT_EQ("ab", NextConsolePiece("ab", ConsoleEndNewLine, true, 80, 0).text);
    ConsolePiece piece = NextConsolePiece("abcdef", ConsoleEndSpace, true, 4, 0);
    EXPECT_EQ("abcd ", piece.text);
    EXPECT_EQ("ef", piece.rest);
}

TEST(ConsoleText, AFullLinePassesEverythingOnAndAnEmptyWidthCutsNothing) {
    // Column at or past the end: nothing fits, the whole text goes to the next line.
    ConsolePiece full = NextConsolePiece("abc", ConsoleEndNothing, true, 10, 12);
    EXPECT_TRUE(full.cut);
    EXPECT_EQ("", full.text);
    EXPECT_EQ("abc", full.rest);
    // A window narrower than one character must not cut for ever.
    ConsolePiece narrow = NextConsolePiece("abc", ConsoleEndNothing, true, 0, 0);
    EXPECT_FALSE(narrow.cut);
    EXPECT_EQ("abc", narrow.text);
}
