// Line-end conversion into a memory area: the converted text, the CR LF at the
// end, the cut when the area is full, and that nothing lands past the area
// (the areas are exact-size heap blocks, so the sanitizer sees any overrun).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/system/text_read.h"

namespace {

struct Filled {
    std::string text; // up to the terminator
    bool cut;
};

// Fills an area of exactly capacity bytes, feeding the file in chunks of the
// given size; the text must end with a terminator inside the area.
Filled Fill(const std::string &file, std::size_t capacity, std::size_t chunk = 1000) {
    std::unique_ptr<char[]> area(new char[capacity]);
    TextAreaFill fill = StartTextAreaFill(area.get(), capacity);
    for (std::size_t at = 0; at < file.size(); at += chunk) {
        if (!FeedTextAreaFill(fill, file.data() + at, std::min(chunk, file.size() - at)))
            break;
    }
    const bool cut = FinishTextAreaFill(fill);
    if (capacity == 0)
        return {"", cut};
    const std::string all(area.get(), capacity);
    const std::size_t end = all.find('\0');
    EXPECT_NE(end, std::string::npos) << "no terminator inside the area";
    return {all.substr(0, end), cut};
}

TEST(TextAreaFill, ConvertsLineEndsAndAppendsCrLf) {
    EXPECT_EQ(Fill("a\nb", 64).text, "a\nb\r\n");
    EXPECT_EQ(Fill("a\rb", 64).text, "a\r\nb\r\n");
    EXPECT_EQ(Fill("a\r\nb", 64).text, "a\r\nb\r\n");
    EXPECT_EQ(Fill("", 64).text, "\r\n");
    EXPECT_EQ(Fill("\r\r\n\n\n\r", 64).text, "\r\n\r\n\n\n\r\n\r\n");
    EXPECT_FALSE(Fill("a\nb", 64).cut);
}

TEST(TextAreaFill, CrLfSplitBetweenChunksStaysOneLineEnd) {
    EXPECT_EQ(Fill("ab\r\ncd\r\n", 64, 3).text, "ab\r\ncd\r\n\r\n");
    EXPECT_EQ(Fill("x\r\ny", 64, 1).text, "x\r\ny\r\n");
}

TEST(TextAreaFill, TinyAreas) {
    // Capacity 1 holds only the terminator.
    EXPECT_EQ(Fill("", 1).text, "");
    EXPECT_FALSE(Fill("", 1).cut);
    EXPECT_TRUE(Fill("a", 1).cut);
    EXPECT_TRUE(Fill("\r", 1).cut);
    // Capacity 2: one text byte; the appended line end is kept as far as it fits.
    EXPECT_EQ(Fill("", 2).text, "\r");
    EXPECT_FALSE(Fill("a", 2).cut);
    EXPECT_EQ(Fill("a", 2).text, "a");
    EXPECT_EQ(Fill("\r", 2).text, "\r");
    EXPECT_TRUE(Fill("\r", 2).cut);
    // Capacity 3.
    EXPECT_EQ(Fill("", 3).text, "\r\n");
    EXPECT_EQ(Fill("a", 3).text, "a\r");
    EXPECT_EQ(Fill("ab", 3).text, "ab");
    EXPECT_FALSE(Fill("ab", 3).cut);
    EXPECT_EQ(Fill("abc", 3).text, "ab");
    EXPECT_TRUE(Fill("abc", 3).cut);
}

TEST(TextAreaFill, CrAtTheLastByteOfAFullAreaIsCutNotOverrun) {
    const Filled f = Fill("abc\rdef", 4);
    EXPECT_TRUE(f.cut);
    EXPECT_EQ(f.text, "abc");
    EXPECT_EQ(Fill("ab\r\n", 4).text, "ab\r");
    EXPECT_TRUE(Fill("ab\r\n", 4).cut);
}

TEST(TextAreaFill, FileAsLongAsTheAreaIsCutByOneByte) {
    const std::string file(16, 'x');
    const Filled f = Fill(file, 16);
    EXPECT_TRUE(f.cut);
    EXPECT_EQ(f.text, std::string(15, 'x'));
    // One byte shorter: the whole file fits, the line end does not; no cut.
    const Filled g = Fill(std::string(15, 'x'), 16);
    EXPECT_FALSE(g.cut);
    EXPECT_EQ(g.text, std::string(15, 'x'));
}

TEST(TextAreaFill, EveryCapacityGivesAPrefixOfTheWholeConversion) {
    const std::string file = "\r\na\rb\n\r\r\nc";
    const std::string whole = "\r\na\r\nb\n\r\n\r\nc\r\n";
    const std::size_t content = whole.size() - 2;
    for (std::size_t capacity = 1; capacity <= whole.size() + 2; ++capacity) {
        for (std::size_t chunk : {1u, 2u, 5u}) {
            const Filled f = Fill(file, capacity, chunk);
            EXPECT_EQ(f.text, whole.substr(0, std::min(whole.size(), capacity - 1))) << capacity;
            EXPECT_EQ(f.cut, content >= capacity) << capacity;
        }
    }
}

TEST(TextAreaFill, NoAreaTakesNothing) {
    EXPECT_TRUE(Fill("", 0).cut);
    TextAreaFill fill = StartTextAreaFill(nullptr, 10);
    EXPECT_FALSE(FeedTextAreaFill(fill, "abc", 3));
    EXPECT_TRUE(FinishTextAreaFill(fill));
}

TEST(TextAreaFill, FeedingStopsOnceFull) {
    std::unique_ptr<char[]> area(new char[4]);
    TextAreaFill fill = StartTextAreaFill(area.get(), 4);
    EXPECT_TRUE(FeedTextAreaFill(fill, "ab", 2));
    EXPECT_FALSE(FeedTextAreaFill(fill, "cdefgh", 6));
    EXPECT_FALSE(FeedTextAreaFill(fill, "ij", 2));
    EXPECT_TRUE(FinishTextAreaFill(fill));
    EXPECT_STREQ(area.get(), "abc");
}

} // namespace
