// StringValue construction, copying and assignment.
#include <cstring>

#include <gtest/gtest.h>

#include "runtime/core/string_value.h"

namespace {

std::string Bytes(const StringValue &s) {
    return std::string(s.data, s.length);
}

TEST(StringValue, DefaultAndNullSourcesGiveTheTerminatedEmptyText) {
    const StringValue values[] = {StringValue(), StringValue(nullptr), StringValue(nullptr, 0, 5)};
    for (const StringValue &v : values) {
        EXPECT_EQ(v.length, 0u);
        ASSERT_NE(v.data, nullptr);
        EXPECT_EQ(v.data[0], '\0');
    }
}

TEST(StringValue, ConstructionFromTextOffsetAndBytes) {
    EXPECT_EQ(Bytes(StringValue("abc\0def")), "abc");
    EXPECT_EQ(Bytes(StringValue("abcdef", 2)), "cdef");
    const char raw[] = {'x', '\0', 'y', 'z'};
    const StringValue s(raw, 1, 3);
    EXPECT_EQ(Bytes(s), std::string("\0yz", 3));
    EXPECT_EQ(s.data[3], '\0');
}

TEST(StringValue, CopyKeepsEmbeddedZerosAndOwnsItsBytes) {
    const char raw[] = {'a', '\0', 'b'};
    StringValue original(raw, 0, 3);
    StringValue copy(original);
    EXPECT_EQ(Bytes(copy), std::string("a\0b", 3));
    EXPECT_NE(copy.data, original.data);
    original.data[0] = 'z';
    EXPECT_EQ(copy.data[0], 'a');
}

TEST(StringValue, CopyTakesTextWrittenInPlaceBeyondTheStoredLength) {
    // A value filled through `data` by a library call keeps its old length.
    StringValue buffer = StringValue::OfLength(8);
    buffer.length = 0;
    std::memcpy(buffer.data, "hello", 5);
    const StringValue copy(buffer);
    EXPECT_EQ(Bytes(copy), "hello");
}

TEST(StringValue, AssignmentToItselfAndFromItsOwnBytes) {
    StringValue s("abcdef");
    s = s;
    EXPECT_EQ(Bytes(s), "abcdef");
    // The source lies inside the block that the assignment replaces.
    s = s.data + 2;
    EXPECT_EQ(Bytes(s), "cdef");
    s = static_cast<const char *>(nullptr);
    EXPECT_EQ(s.length, 0u);
}

TEST(StringValue, OfLengthIsZeroFilledAndRefusesLengthsBeyond32Bits) {
    const StringValue s = StringValue::OfLength(4);
    EXPECT_EQ(s.length, 4u);
    EXPECT_EQ(std::memcmp(s.data, "\0\0\0\0\0", 5), 0);
    EXPECT_THROW(StringValue::OfLength(std::uint64_t(1) << 32), std::bad_alloc);
}

} // namespace
