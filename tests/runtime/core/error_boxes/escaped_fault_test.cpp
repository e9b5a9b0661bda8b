// An exception that escapes the script routine ends the program with the
// runtime's fatal error box and a non-zero exit code, never as a normal end.
#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <string>

#include "runtime/core/frame.h"
#include "tests/support/box_watch.h"

namespace {

volatile bool ReachedEnd = false;

void OutOfMemoryScript() {
    // A string operation that cannot get its memory.
    std::string text(static_cast<std::size_t>(-1) / 4, 'x');
    ReachedEnd = text.empty();
    EndProgram();
}

void ThrowingScript() {
    throw 42;
}

} // namespace

TEST(EscapedFault, EndsWithTheFatalBoxAndANonZeroCode) {
    for (void (*script)() : {OutOfMemoryScript, ThrowingScript}) {
        ReachedEnd = false;
        BoxWatch boxes;
        int code = RunRuntime(GetModuleHandleA(nullptr), script);
        EXPECT_FALSE(ReachedEnd);
        EXPECT_NE(0, code);
        std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ("Programm abgebrochen!", seen[0].caption);
        EXPECT_EQ("error", seen[0].icon);
        EXPECT_TRUE(seen[0].okOnly);
    }
}
