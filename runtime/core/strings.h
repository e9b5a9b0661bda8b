// The string functions of the runtime. All take their arguments by reference,
// leave them unchanged and return new values; positions are 1-based and count
// bytes. Called on the script thread (or any single thread); no locking.
// A value whose data is null is read as the empty text unless stated otherwise.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// The stored length.
std::int32_t StrLength(const StringValue &s);
// Equal up to and including the first zero byte of each; false if either data is null.
bool StrEquals(const StringValue &s, const StringValue &t);
// -1, 0 or 1 by the first differing unsigned byte up to the first zero; 1 if either data is null.
std::int32_t StrCompare(const StringValue &s, const StringValue &t);

// s followed by all length bytes of t (zero bytes included).
StringValue StrConcat(const StringValue &s, const StringValue &t);
// The first min(n, length) bytes; empty for n <= 0.
StringValue StrLeft(const StringValue &s, std::int32_t n);
// The last n bytes; empty for n <= 0 or n > length.
StringValue StrRight(const StringValue &s, std::int32_t n);
// Up to n bytes from position p; empty for n <= 0, p <= 0 or p > length.
StringValue StrMid(const StringValue &s, std::int32_t p, std::int32_t n);
// s without up to n bytes from position p. p < 1 raises fatal error 204 and,
// if that returns, deletes from the first byte.
StringValue StrDelete(const StringValue &s, std::int32_t p, std::int32_t n);
// Code page 1252 letters mapped to upper / lower case up to the first zero byte.
StringValue StrUpper(const StringValue &s);
StringValue StrLower(const StringValue &s);
// s without tab, blank, LF, CR, 0xA0 and zero bytes at either end.
StringValue StrTrim(const StringValue &s);
// s repeated n times; empty for n <= 0.
StringValue StrRepeat(const StringValue &s, std::int32_t n);
// n blanks; empty for n <= 0.
StringValue StrSpaces(std::int32_t n);

// 1-based position of the first occurrence of needle in text; 0 when absent or
// when needle is empty.
std::int32_t StrFind(const StringValue &needle, const StringValue &text);
// Non-overlapping occurrences of needle in text, left to right; 0 for an empty needle.
std::int32_t StrCount(const StringValue &text, const StringValue &needle);
// Every non-overlapping occurrence of search replaced by repl, left to right,
// without rescanning what was inserted; an empty search gives text unchanged.
StringValue StrReplaceAll(const StringValue &text, const StringValue &search, const StringValue &repl);
// The n-th field (1-based) of text split at every occurrence of sep; the whole
// text for n = 1 when sep does not occur, else empty when out of range.
// n < 1 raises fatal error 205 and, if that returns, gives the empty text.
StringValue StrField(const StringValue &text, std::int32_t n, const StringValue &sep);

// The first byte as 0 to 255 (0 for the empty text); -1 when data is null.
std::int32_t StrByteValue(const StringValue &s);
// A one-byte string holding the low 8 bits of n (length 1 even for 0).
StringValue StrFromByte(std::int32_t n);
