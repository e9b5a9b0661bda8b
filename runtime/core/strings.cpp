// String functions on StringValue: byte-exact, 1-based, no failure except the
// two fatal reports of StrDelete and StrField.
#include "runtime/core/strings.h"

#include <array>
#include <cstring>

#include "runtime/core/errors.h"

namespace {

// The bytes of a value; a null data block reads as the empty text.
struct Bytes {
    const char *p;
    std::uint32_t n;
};

Bytes BytesOf(const StringValue &s) {
    if (!s.data)
        return {"", 0};
    return {s.data, s.length};
}

StringValue FromRange(const char *p, std::uint64_t n) {
    StringValue r = StringValue::OfLength(n);
    if (n)
        std::memcpy(r.data, p, static_cast<std::size_t>(n));
    return r;
}

// Offset of the first occurrence of needle in text at or after `from`, or -1.
// A left-to-right scan; needle must not be empty. Only places that start
// with the needle's first byte are compared whole: the catalogue scan runs
// these searches over every plugin file, and a library call per byte costs
// more than the rest of the scan.
std::int64_t FindFrom(Bytes text, Bytes needle, std::uint32_t from) {
    if (needle.n > text.n)
        return -1;
    const std::uint32_t last = text.n - needle.n;
    const char first = needle.p[0];
    for (std::uint32_t i = from; i <= last; ++i) {
        if (text.p[i] == first && std::memcmp(text.p + i + 1, needle.p + 1, needle.n - 1) == 0)
            return i;
    }
    return -1;
}

// Case tables of code page 1252, as the "English" locale of the target system
// maps them, fixed so that every build maps alike.
struct CaseTables {
    std::array<unsigned char, 256> upper;
    std::array<unsigned char, 256> lower;
};

CaseTables MakeCaseTables() {
    CaseTables t{};
    for (int c = 0; c < 256; ++c) {
        t.upper[c] = static_cast<unsigned char>(c);
        t.lower[c] = static_cast<unsigned char>(c);
    }
    auto pair = [&t](int up, int low) {
        t.upper[low] = static_cast<unsigned char>(up);
        t.lower[up] = static_cast<unsigned char>(low);
    };
    for (int c = 'A'; c <= 'Z'; ++c)
        pair(c, c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // the multiplication sign has no lower case
            pair(c, c + 0x20);
    }
    pair(0x8A, 0x9A); // S caron
    pair(0x8C, 0x9C); // ligature OE
    pair(0x8E, 0x9E); // Z caron
    pair(0x9F, 0xFF); // Y diaeresis
    return t;
}

const CaseTables &Cases() {
    static const CaseTables tables = MakeCaseTables();
    return tables;
}

StringValue MapCase(const StringValue &s, const std::array<unsigned char, 256> &table) {
    StringValue r(s);
    for (std::uint32_t i = 0; i < r.length && r.data[i] != 0; ++i)
        r.data[i] = static_cast<char>(table[static_cast<unsigned char>(r.data[i])]);
    return r;
}

bool IsTrimByte(char c) {
    switch (static_cast<unsigned char>(c)) {
    case 0:
    case 9:
    case 10:
    case 13:
    case 32:
    case 0xA0:
        return true;
    default:
        return false;
    }
}

} // namespace

std::int32_t StrLength(const StringValue &s) {
    return static_cast<std::int32_t>(s.length);
}

bool StrEquals(const StringValue &s, const StringValue &t) {
    return s.data && t.data && std::strcmp(s.data, t.data) == 0;
}

std::int32_t StrCompare(const StringValue &s, const StringValue &t) {
    if (!s.data || !t.data)
        return 1;
    // strcmp compares the bytes as unsigned char.
    const int c = std::strcmp(s.data, t.data);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

StringValue StrConcat(const StringValue &s, const StringValue &t) {
    const StringValue head(s); // the copy rule decides how much of s counts
    const Bytes tail = BytesOf(t);
    StringValue r = StringValue::OfLength(std::uint64_t(head.length) + tail.n);
    std::memcpy(r.data, head.data, head.length);
    std::memcpy(r.data + head.length, tail.p, tail.n);
    return r;
}

StringValue StrLeft(const StringValue &s, std::int32_t n) {
    const Bytes b = BytesOf(s);
    if (n <= 0)
        return StringValue();
    const std::uint32_t take = std::uint32_t(n) < b.n ? std::uint32_t(n) : b.n;
    return FromRange(b.p, take);
}

StringValue StrRight(const StringValue &s, std::int32_t n) {
    const Bytes b = BytesOf(s);
    if (n <= 0 || std::uint32_t(n) > b.n)
        return StringValue();
    return FromRange(b.p + (b.n - std::uint32_t(n)), std::uint32_t(n));
}

StringValue StrMid(const StringValue &s, std::int32_t p, std::int32_t n) {
    const Bytes b = BytesOf(s);
    if (n <= 0 || p <= 0 || std::uint32_t(p) > b.n)
        return StringValue();
    const std::uint32_t rest = b.n - std::uint32_t(p) + 1;
    const std::uint32_t take = std::uint32_t(n) < rest ? std::uint32_t(n) : rest;
    return FromRange(b.p + (p - 1), take);
}

StringValue StrDelete(const StringValue &s, std::int32_t p, std::int32_t n) {
    if (p < 1) {
        RaiseFatal(204);
        p = 1; // when the error level lets us go on: delete from the first byte
    }
    const Bytes b = BytesOf(s);
    if (n <= 0 || std::uint32_t(p) > b.n)
        return FromRange(b.p, b.n);
    const std::uint32_t start = std::uint32_t(p) - 1;
    const std::uint32_t rest = b.n - start;
    const std::uint32_t cut = std::uint32_t(n) < rest ? std::uint32_t(n) : rest;
    // The result keeps every remaining byte, embedded zeros included.
    StringValue r = StringValue::OfLength(b.n - cut);
    std::memcpy(r.data, b.p, start);
    std::memcpy(r.data + start, b.p + start + cut, b.n - start - cut);
    return r;
}

StringValue StrUpper(const StringValue &s) {
    return MapCase(s, Cases().upper);
}

StringValue StrLower(const StringValue &s) {
    return MapCase(s, Cases().lower);
}

StringValue StrTrim(const StringValue &s) {
    const Bytes b = BytesOf(s);
    std::uint32_t first = 0;
    std::uint32_t end = b.n;
    while (first < end && IsTrimByte(b.p[first]))
        ++first;
    while (end > first && IsTrimByte(b.p[end - 1]))
        --end;
    return FromRange(b.p + first, end - first);
}

StringValue StrRepeat(const StringValue &s, std::int32_t n) {
    const Bytes b = BytesOf(s);
    if (n <= 0 || b.n == 0)
        return StringValue();
    StringValue r = StringValue::OfLength(std::uint64_t(b.n) * std::uint32_t(n));
    for (std::int32_t i = 0; i < n; ++i)
        std::memcpy(r.data + std::size_t(i) * b.n, b.p, b.n);
    return r;
}

StringValue StrSpaces(std::int32_t n) {
    if (n <= 0)
        return StringValue();
    StringValue r = StringValue::OfLength(std::uint32_t(n));
    std::memset(r.data, ' ', std::uint32_t(n));
    return r;
}

std::int32_t StrFind(const StringValue &needle, const StringValue &text) {
    const Bytes nb = BytesOf(needle);
    if (nb.n == 0)
        return 0;
    const std::int64_t at = FindFrom(BytesOf(text), nb, 0);
    return at < 0 ? 0 : static_cast<std::int32_t>(at + 1);
}

std::int32_t StrCount(const StringValue &text, const StringValue &needle) {
    const Bytes tb = BytesOf(text);
    const Bytes nb = BytesOf(needle);
    if (nb.n == 0)
        return 0;
    std::int32_t count = 0;
    for (std::int64_t at = FindFrom(tb, nb, 0); at >= 0;
         at = FindFrom(tb, nb, static_cast<std::uint32_t>(at) + nb.n))
        ++count;
    return count;
}

StringValue StrReplaceAll(const StringValue &text, const StringValue &search, const StringValue &repl) {
    const Bytes tb = BytesOf(text);
    const Bytes sb = BytesOf(search);
    const Bytes rb = BytesOf(repl);
    if (sb.n == 0)
        return FromRange(tb.p, tb.n);
    const std::uint64_t count = static_cast<std::uint64_t>(StrCount(text, search));
    StringValue r = StringValue::OfLength(tb.n + count * rb.n - count * sb.n);
    char *out = r.data;
    std::uint32_t from = 0;
    for (std::int64_t at = FindFrom(tb, sb, 0); at >= 0; at = FindFrom(tb, sb, from)) {
        const std::uint32_t hit = static_cast<std::uint32_t>(at);
        std::memcpy(out, tb.p + from, hit - from);
        out += hit - from;
        std::memcpy(out, rb.p, rb.n);
        out += rb.n;
        from = hit + sb.n;
    }
    std::memcpy(out, tb.p + from, tb.n - from);
    return r;
}

StringValue StrField(const StringValue &text, std::int32_t n, const StringValue &sep) {
    if (n < 1) {
        RaiseFatal(205);
        return StringValue(); // the error level let us go on: no such field
    }
    const Bytes tb = BytesOf(text);
    const Bytes sb = BytesOf(sep);
    const std::int32_t count = StrCount(text, sep);
    if (count == 0)
        return n == 1 ? FromRange(tb.p, tb.n) : StringValue();
    if (n > count + 1)
        return StringValue();
    std::uint32_t from = 0;
    for (std::int32_t i = 1; i < n; ++i)
        from = static_cast<std::uint32_t>(FindFrom(tb, sb, from)) + sb.n;
    const std::int64_t next = FindFrom(tb, sb, from);
    const std::uint32_t end = next < 0 ? tb.n : static_cast<std::uint32_t>(next);
    return FromRange(tb.p + from, end - from);
}

std::int32_t StrByteValue(const StringValue &s) {
    if (!s.data)
        return -1;
    return static_cast<unsigned char>(s.data[0]);
}

StringValue StrFromByte(std::int32_t n) {
    StringValue r = StringValue::OfLength(1);
    r.data[0] = static_cast<char>(n & 0xFF);
    return r;
}
