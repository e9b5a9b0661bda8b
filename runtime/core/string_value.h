// StringValue: the runtime's byte string in code page 1252.
//
// A stored length plus a heap block that is always at least length + 2 bytes
// and always holds a zero at data[length]; bytes before it may be zero too, the
// length (not the first zero) says how long the value is. Every value owns its
// block exclusively; copies copy the bytes. Used by the script thread only; the
// GUI thread reads `data` only while the script thread is blocked in a request
// that carries it. Blocks are allocated with new[] and freed with delete[]
// by the value that owns them.
#pragma once

#include <cstddef>
#include <cstdint>

class StringValue {
  public:
    // The empty text: length 0 and a fresh 2-byte block holding zeros.
    StringValue();
    // The bytes of p up to its first zero; a null p gives the empty text.
    StringValue(const char *p);
    // As above, starting at p + offset.
    StringValue(const char *p, std::size_t offset);
    // Exactly n bytes from p + offset (zero bytes included), then a terminator.
    StringValue(const void *p, std::size_t offset, std::uint32_t n);
    // Copy rule: the larger of s.length and the bytes before s's first zero
    // (0 when s.data is null) are copied.
    StringValue(const StringValue &s);
    StringValue &operator=(const StringValue &s);
    // Replaces the old block by a copy of the zero-terminated text p (p may
    // point into this value's own block).
    StringValue &operator=(const char *p);
    virtual ~StringValue();

    // A value of exactly n zero bytes (plus the terminator), to be filled in
    // place by the caller. Lengths that the 32-bit length field cannot hold are
    // treated like a failed allocation (std::bad_alloc).
    static StringValue OfLength(std::uint64_t n);

    const char *c_str() const { return data ? data : ""; }

    std::uint32_t length;
    char *data;

  private:
    struct Sized {};
    // n zero bytes plus the terminator.
    StringValue(Sized, std::uint64_t n);
};
