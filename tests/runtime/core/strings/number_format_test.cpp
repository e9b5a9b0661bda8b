// Number to text conversions with the program's settings and with others.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/core/number_format.h"

namespace {

std::string B(const StringValue &s) {
    return std::string(s.data, s.length);
}

// Restores the process-wide format settings after each test.
class NumberFormat : public ::testing::Test {
  protected:
    void TearDown() override {
        FloatDecimals = 6;
        NumberWidth = 0;
        std::strcpy(DecimalSeparator, ".");
    }
};

TEST_F(NumberFormat, IntegersWithoutPaddingByDefault) {
    EXPECT_EQ(B(IntegerToText(-5)), "-5");
    EXPECT_EQ(B(IntegerToText(0)), "0");
    EXPECT_EQ(B(IntegerToText(2147483647)), "2147483647");
    EXPECT_EQ(B(IntegerToText(-2147483647 - 1)), "-2147483648");
    NumberWidth = 4;
    EXPECT_EQ(B(IntegerToText(-5)), "  -5");
    EXPECT_EQ(B(IntegerToText(123456)), "123456");
}

TEST_F(NumberFormat, FloatsInFixedPoint) {
    EXPECT_EQ(B(FloatToText(1.5)), "1.500000");
    EXPECT_EQ(B(FloatToText(0.05)), "0.050000");
    EXPECT_EQ(B(FloatToText(-2)), "-2.000000");
    EXPECT_EQ(B(FloatToText(123.456)), "123.456000");
    EXPECT_EQ(B(FloatToText(0)), "0.000000");
    EXPECT_EQ(B(FloatToText(-0.25)), "-0.250000");
}

TEST_F(NumberFormat, FloatsWithOtherSettings) {
    std::strcpy(DecimalSeparator, ",");
    EXPECT_EQ(B(FloatToText(1.5)), "1,500000");
    FloatDecimals = 0;
    EXPECT_EQ(B(FloatToText(42)), "42");
    FloatDecimals = 2;
    NumberWidth = 8;
    EXPECT_EQ(B(FloatToText(-1.25)), "   -1,25");
}

TEST_F(NumberFormat, HugeFloatsAreWrittenInFull) {
    const std::string text = B(FloatToText(1e300));
    EXPECT_EQ(text.size(), 301u + 1u + 6u);
    EXPECT_EQ(text.substr(0, 1), "1");
    EXPECT_EQ(text.substr(text.size() - 7), ".000000");
}

TEST_F(NumberFormat, StartUpGivesAUsableSeparator) {
    StartNumberFormat();
    EXPECT_GT(std::strlen(DecimalSeparator), 0u);
    EXPECT_LT(std::strlen(DecimalSeparator), sizeof DecimalSeparator);
#ifdef _WIN32
    EXPECT_STREQ(DecimalSeparator, ".");
#endif
    EndNumberFormat();
    EXPECT_STREQ(DecimalSeparator, ".");
}

} // namespace
