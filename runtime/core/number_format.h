// Conversions between numbers and text, and the locale start-up that fixes the
// decimal separator. StartNumberFormat/EndNumberFormat run on the GUI thread at
// process start and end; the conversions run on the script thread.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Decimals written by FloatToText (6 in this program).
extern std::int32_t FloatDecimals;
// Minimum width of a converted number, padded with blanks in front (0 here).
extern std::int32_t NumberWidth;
// The decimal separator of the locale selected at start-up, at most 7 bytes
// and zero-terminated; "." until start-up and after teardown.
extern char DecimalSeparator[8];

// Sets FloatDecimals to 6 and NumberWidth to 0 (core start-up, GUI thread).
void ResetNumberDefaults();
// Selects the "English" locale for all categories and copies its decimal point
// into DecimalSeparator. Where that locale does not exist the current locale is
// kept and the separator stays ".".
void StartNumberFormat();
// Resets DecimalSeparator to ".".
void EndNumberFormat();

// Decimal digits of n, "-" in front when negative, padded to NumberWidth.
StringValue IntegerToText(std::int32_t n);
// x in fixed-point with FloatDecimals decimals and DecimalSeparator, padded to
// NumberWidth. Infinities and NaN give the C library's words for them.
StringValue FloatToText(double x);
