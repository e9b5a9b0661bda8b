// At the default error level the two fatal string errors show their box and
// end the program (the end is intercepted here).
#include <string>

#include <gtest/gtest.h>

#include "runtime/core/errors.h"
#include "runtime/core/errors_native.h"
#include "runtime/core/strings.h"

namespace {

struct ProgramEnded {};

[[noreturn]] void ThrowProgramEnded() {
    throw ProgramEnded{};
}

class FatalStringErrors : public ::testing::Test {
  protected:
    void SetUp() override {
        ErrorLevel = 1;
        RecordedErrorBoxes().clear();
        SetProgramEndHook(ThrowProgramEnded);
    }
    void TearDown() override { SetProgramEndHook(nullptr); }
};

TEST_F(FatalStringErrors, DeleteBelowPositionOneEndsTheProgram) {
    EXPECT_THROW(StrDelete(StringValue("abc"), 0, 1), ProgramEnded);
    ASSERT_EQ(RecordedErrorBoxes().size(), 1u);
    EXPECT_EQ(RecordedErrorBoxes()[0].caption, "String-Index ist < 1 !");
}

TEST_F(FatalStringErrors, FieldBelowOneEndsTheProgram) {
    EXPECT_THROW(StrField(StringValue("a;b"), -3, StringValue(";")), ProgramEnded);
    ASSERT_EQ(RecordedErrorBoxes().size(), 1u);
    EXPECT_EQ(RecordedErrorBoxes()[0].caption, "Substring-Nr ist < 1 !");
}

} // namespace
