// ReadTextToArea on real files: line ends, the CR LF appended, the cut with
// error 244, unreadable files, and files read through relative names.
#include "temp_folder.h"

#include <cstring>

#include "runtime/core/memory_areas.h"

namespace {

class ReadText : public TempFolder {
  protected:
    void TearDown() override {
        DisposeArea(&area_);
        TempFolder::TearDown();
    }
    // Reads the file into a fresh area of the capacity; the text up to its zero.
    std::string ReadInto(const std::string &name, std::int32_t capacity) {
        DimArea(&area_, capacity);
        ReadTextToArea(area_, P(name));
        return std::string(area_, strnlen(area_, capacity));
    }
    char *area_ = nullptr;
};

TEST_F(ReadText, ConvertsLineEndsAndAppendsCrLf) {
    const struct {
        std::string file, text;
    } cases[] = {{"a\nb", "a\nb\r\n"}, {"a\rb", "a\r\nb\r\n"}, {"a\r\nb", "a\r\nb\r\n"}, {"", "\r\n"}};
    for (const auto &c : cases) {
        Write("t", c.file);
        EXPECT_EQ(ReadInto("t", 64), c.text);
    }
    EXPECT_EQ(TakeErrorKind(), 0);
}

TEST_F(ReadText, LongFilesAreReadWholeAcrossReadChunks) {
    std::string file, text;
    for (int i = 0; i < 3000; ++i) {
        file += (i % 2) ? "ab\r" : "ab\r\n";
        text += "ab\r\n";
    }
    Write("long", file);
    EXPECT_EQ(ReadInto("long", 32768), text + "\r\n");
    EXPECT_EQ(TakeErrorKind(), 0);
}

TEST_F(ReadText, TextThatDoesNotFitIsCutWith244) {
    Write("t", "abc\rdef");
    EXPECT_EQ(ReadInto("t", 4), "abc");
    EXPECT_EQ(TakeErrorKind(), 1);
    EXPECT_EQ(LastErrorNumber, 244);
    Write("t", "abcd");
    EXPECT_EQ(ReadInto("t", 4), "abc"); // as long as the area
    EXPECT_EQ(TakeErrorKind(), 1);
    Write("t", "abc");
    EXPECT_EQ(ReadInto("t", 4), "abc"); // fits; the line end does not
    EXPECT_EQ(TakeErrorKind(), 0);
    for (std::int32_t capacity : {1, 2, 3}) {
        Write("t", "\r");
        ReadInto("t", capacity);
        EXPECT_EQ(TakeErrorKind(), capacity <= 2 ? 1 : 0) << capacity;
    }
}

TEST_F(ReadText, RelativeNamesAndUnreadableFiles) {
    Write("p.src", "name=\"X\"");
    SetCurrentDirectoryA(dir_.c_str());
    DimArea(&area_, 16);
    ReadTextToArea(area_, "p.src");
    EXPECT_STREQ(area_, "name=\"X\"\r\n");
    for (const char *bad : {"missing.src", "."}) {
        area_[0] = 'Z';
        ReadTextToArea(area_, bad);
        EXPECT_EQ(TakeErrorKind(), 2);
        EXPECT_EQ(LastErrorNumber, 300);
        EXPECT_EQ(area_[0], 'Z');
    }
}

} // namespace
