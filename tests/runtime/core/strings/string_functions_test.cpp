// The string functions: ranges, searching, fields, trimming and case.
#include <string>

#include <gtest/gtest.h>

#include "runtime/core/errors.h"
#include "runtime/core/strings.h"

namespace {

StringValue S(const std::string &bytes) {
    return StringValue(bytes.data(), 0, static_cast<std::uint32_t>(bytes.size()));
}

std::string B(const StringValue &s) {
    EXPECT_EQ(s.data[s.length], '\0') << "terminator missing";
    return std::string(s.data, s.length);
}

// A value as it is between destruction and reuse.
struct NullValue : StringValue {
    NullValue() {
        delete[] data;
        data = nullptr;
    }
};

class QuietErrors : public ::testing::Test {
  protected:
    void SetUp() override {
        savedLevel = ErrorLevel;
        ErrorLevel = -1;
        TakeErrorKind();
    }
    void TearDown() override { ErrorLevel = savedLevel; }
    std::int32_t savedLevel = 1;
};

TEST(Strings, ZeroByteIsOrdinaryData) {
    const StringValue zero = StrFromByte(0);
    EXPECT_EQ(StrLength(zero), 1);
    const StringValue joined = StrConcat(zero, S("x"));
    EXPECT_EQ(B(joined), std::string("\0x", 2));
    EXPECT_EQ(B(StrFromByte(0x141)), "A");
    EXPECT_EQ(StrByteValue(S("\xE9")), 233);
    EXPECT_EQ(StrByteValue(S("")), 0);
    EXPECT_EQ(StrByteValue(NullValue()), -1);
}

TEST(Strings, LeftRightMidBounds) {
    const StringValue abc = S("abc");
    EXPECT_EQ(B(StrLeft(abc, 5)), "abc");
    EXPECT_EQ(B(StrLeft(abc, 0)), "");
    EXPECT_EQ(B(StrLeft(abc, -1)), "");
    EXPECT_EQ(B(StrRight(abc, 5)), "");
    EXPECT_EQ(B(StrRight(abc, 3)), "abc");
    EXPECT_EQ(B(StrRight(abc, 1)), "c");
    EXPECT_EQ(B(StrMid(S("abcdef"), 3, 2)), "cd");
    EXPECT_EQ(B(StrMid(abc, 4, 1)), "");
    EXPECT_EQ(B(StrMid(abc, 2, 99)), "bc");
    EXPECT_EQ(B(StrMid(abc, 0, 2)), "");
    EXPECT_EQ(B(StrMid(abc, 2, 0x7FFFFFFF)), "bc");
    EXPECT_EQ(B(StrLeft(NullValue(), 3)), "");
}

TEST_F(QuietErrors, DeleteRangesAndTheFirstPositionFallback) {
    EXPECT_EQ(B(StrDelete(S("abcdef"), 2, 3)), "aef");
    EXPECT_EQ(B(StrDelete(S("abc"), 3, 10)), "ab");
    EXPECT_EQ(B(StrDelete(S("abc"), 4, 1)), "abc");
    EXPECT_EQ(B(StrDelete(S("abc"), 2, 0)), "abc");
    EXPECT_EQ(TakeErrorKind(), 0);
    // Below 1: reported as fatal 204, then deleted from the first byte.
    EXPECT_EQ(B(StrDelete(S("abcdef"), 0, 2)), "cdef");
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(LastErrorNumber, 204);
    // Bytes after an embedded zero survive.
    EXPECT_EQ(B(StrDelete(S(std::string("a\0bcd", 5)), 3, 1)), std::string("a\0cd", 4));
}

TEST(Strings, EqualsAndCompareStopAtTheFirstZero) {
    EXPECT_TRUE(StrEquals(S("abc"), S("abc")));
    EXPECT_FALSE(StrEquals(S("abc"), S("ABC")));
    EXPECT_TRUE(StrEquals(S(std::string("ab\0x", 4)), S(std::string("ab\0y", 4))));
    EXPECT_FALSE(StrEquals(NullValue(), NullValue()));
    EXPECT_EQ(StrCompare(S("a"), S("b")), -1);
    EXPECT_EQ(StrCompare(S("b"), S("a")), 1);
    EXPECT_EQ(StrCompare(S("ab"), S("ab")), 0);
    EXPECT_EQ(StrCompare(S("ab"), S("abc")), -1);
    // Bytes above 0x7F are larger than ASCII, not negative.
    EXPECT_EQ(StrCompare(S("\xE9"), S("z")), 1);
    EXPECT_EQ(StrCompare(NullValue(), S("a")), 1);
    EXPECT_EQ(StrCompare(S("a"), NullValue()), 1);
}

TEST(Strings, FindAndCountAreByteExact) {
    const StringValue abc = S("abc");
    EXPECT_EQ(StrFind(S(""), abc), 0);
    EXPECT_EQ(StrFind(S("c"), abc), 3);
    EXPECT_EQ(StrFind(S("abcd"), abc), 0);
    EXPECT_EQ(StrFind(S("C"), abc), 0);
    EXPECT_EQ(StrFind(S(std::string("\0b", 2)), S(std::string("a\0\0b", 4))), 3);
    EXPECT_EQ(StrCount(S("aaaa"), S("aa")), 2);
    EXPECT_EQ(StrCount(S("aaa"), S("aa")), 1);
    EXPECT_EQ(StrCount(S("abc"), S("")), 0);
    EXPECT_EQ(StrCount(S(""), S("a")), 0);
}

TEST(Strings, ReplaceAllDoesNotRescanWhatItInserted) {
    EXPECT_EQ(B(StrReplaceAll(S("a.b.c"), S("."), S("--"))), "a--b--c");
    EXPECT_EQ(B(StrReplaceAll(S("abc"), S(""), S("x"))), "abc");
    EXPECT_EQ(B(StrReplaceAll(S("= =x"), S("= "), S("="))), "==x");
    EXPECT_EQ(B(StrReplaceAll(S("aa"), S("a"), S("aa"))), "aaaa");
    EXPECT_EQ(B(StrReplaceAll(S("NAME=x"), S("NAME"), S(""))), "=x");
    EXPECT_EQ(B(StrReplaceAll(S(""), S("a"), S("b"))), "");
}

TEST_F(QuietErrors, FieldsAtASeparator) {
    const StringValue text = S("a;b;;c");
    const StringValue sep = S(";");
    const char *expected[] = {"a", "b", "", "c", ""};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(B(StrField(text, n, sep)), expected[n - 1]) << "field " << n;
    EXPECT_EQ(B(StrField(S("abc"), 1, sep)), "abc");
    EXPECT_EQ(B(StrField(S("abc"), 2, sep)), "");
    EXPECT_EQ(B(StrField(S("abc"), 1, S(""))), "abc");
    // The way the browser folder is cut out of its open command.
    const StringValue command = S("c:\\progra~1\\mozill~1\\firefox.exe -url \"%1\"");
    EXPECT_EQ(B(StrField(StrField(command, 1, S("\"")), 1, S("firefox.exe"))), "c:\\progra~1\\mozill~1\\");
    EXPECT_EQ(TakeErrorKind(), 0);
    EXPECT_EQ(B(StrField(text, 0, sep)), "");
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(LastErrorNumber, 205);
}

TEST(Strings, TrimRemovesBlanksControlsAndZerosAtBothEnds) {
    EXPECT_EQ(B(StrTrim(S("\t x\r\n\xA0"))), "x");
    EXPECT_EQ(B(StrTrim(S(std::string("\0 \t\r\n\xA0", 6)))), "");
    EXPECT_EQ(B(StrTrim(S(std::string("\0a b\0", 5)))), "a b");
    EXPECT_EQ(B(StrTrim(S(""))), "");
}

TEST(Strings, RepeatAndSpaces) {
    EXPECT_EQ(B(StrRepeat(S("0"), 3)), "000");
    EXPECT_EQ(B(StrRepeat(S(std::string("a\0", 2)), 2)), std::string("a\0a\0", 4));
    EXPECT_EQ(B(StrRepeat(S("ab"), 0)), "");
    EXPECT_EQ(B(StrRepeat(S("ab"), -4)), "");
    EXPECT_EQ(B(StrSpaces(3)), "   ");
    EXPECT_EQ(B(StrSpaces(-1)), "");
}

TEST(Strings, CaseMappingFollowsCodePage1252) {
    EXPECT_EQ(B(StrUpper(S("abc xyz 09"))), "ABC XYZ 09");
    EXPECT_EQ(B(StrLower(S("ABC XYZ @["))), "abc xyz @[");
    EXPECT_EQ(B(StrUpper(S("\xE9\xE0\xFE\x9A\x9C\x9E\xFF"))), "\xC9\xC0\xDE\x8A\x8C\x8E\x9F");
    EXPECT_EQ(B(StrLower(S("\xC9\xC0\xDE\x8A\x8C\x8E\x9F"))), "\xE9\xE0\xFE\x9A\x9C\x9E\xFF");
    // Division and multiplication signs and the sharp s have no partner.
    EXPECT_EQ(B(StrUpper(S("\xF7\xDF"))), "\xF7\xDF");
    EXPECT_EQ(B(StrLower(S("\xD7"))), "\xD7");
    // Mapping stops at the first zero; the length stays.
    EXPECT_EQ(B(StrUpper(S(std::string("a\0b", 3)))), std::string("A\0b", 3));
}

TEST(Strings, ConcatUsesBothLengths) {
    EXPECT_EQ(B(StrConcat(S(std::string("a\0", 2)), S(std::string("\0b", 2)))), std::string("a\0\0b", 4));
    EXPECT_EQ(B(StrConcat(NullValue(), S("x"))), "x");
}

} // namespace
