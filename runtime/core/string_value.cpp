// Construction, copying and destruction of StringValue.
#include "runtime/core/string_value.h"

#include <cstring>
#include <new>

namespace {

// Largest length whose block (length + 2 bytes) the 32-bit length field and
// every allocator size can describe.
constexpr std::uint64_t MaxLength = 0xFFFFFFFDu;

// A zero-filled block for a text of n bytes: n + 2 bytes, so that the
// terminator and one spare zero always follow the text.
char *NewBlock(std::uint64_t n) {
    if (n > MaxLength || n + 2 > static_cast<std::uint64_t>(SIZE_MAX))
        throw std::bad_alloc();
    return new char[static_cast<std::size_t>(n + 2)]();
}

std::size_t TextLength(const char *p) {
    return p ? std::strlen(p) : 0;
}

} // namespace

StringValue::StringValue() : length(0), data(NewBlock(0)) {}

StringValue::StringValue(Sized, std::uint64_t n) : length(static_cast<std::uint32_t>(n)), data(NewBlock(n)) {}

StringValue::StringValue(const char *p) : StringValue(p, 0) {}

StringValue::StringValue(const char *p, std::size_t offset) : length(0), data(nullptr) {
    const char *from = p ? p + offset : nullptr;
    const std::size_t n = TextLength(from);
    data = NewBlock(n);
    length = static_cast<std::uint32_t>(n);
    if (n)
        std::memcpy(data, from, n);
}

StringValue::StringValue(const void *p, std::size_t offset, std::uint32_t n) : length(0), data(nullptr) {
    // A null source has no bytes to give: the empty text.
    if (!p)
        n = 0;
    data = NewBlock(n);
    length = n;
    if (n)
        std::memcpy(data, static_cast<const char *>(p) + offset, n);
}

StringValue::StringValue(const StringValue &s) : length(0), data(nullptr) {
    // The larger of the stored length and the zero-terminated length, so that a
    // block written in place through `data` is copied whole.
    std::size_t n = 0;
    if (s.data) {
        n = TextLength(s.data);
        if (s.length > n)
            n = s.length;
    }
    data = NewBlock(n);
    length = static_cast<std::uint32_t>(n);
    if (n)
        std::memcpy(data, s.data, n);
}

StringValue &StringValue::operator=(const StringValue &s) {
    if (this != &s) {
        StringValue copy(s);
        delete[] data;
        data = copy.data;
        length = copy.length;
        copy.data = nullptr;
    }
    return *this;
}

StringValue &StringValue::operator=(const char *p) {
    // Copy before freeing: p may point into this value's own block.
    StringValue copy(p);
    delete[] data;
    data = copy.data;
    length = copy.length;
    copy.data = nullptr;
    return *this;
}

StringValue::~StringValue() {
    delete[] data;
    data = nullptr;
    length = 0;
}

StringValue StringValue::OfLength(std::uint64_t n) {
    return StringValue(Sized{}, n);
}
