// What a runtime error report does at each "errorlevel": which boxes appear,
// whether the program ends, and the indicators left behind. Uses the native
// stand-in, which records boxes instead of showing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/core/errors.h"
#include "runtime/core/errors_native.h"

namespace {

struct ProgramEnded {};

[[noreturn]] void ThrowProgramEnded() {
    throw ProgramEnded{};
}

const std::string kBoxText = "Zeilennummer nicht verf\xFCgbar.";
constexpr unsigned kErrorStyle = 0x10;
constexpr unsigned kWarningStyle = 0x31;

class ErrorLevels : public ::testing::Test {
  protected:
    void SetUp() override {
        RecordedErrorBoxes().clear();
        SetErrorBoxAnswer(1);
        SetProgramEndHook(ThrowProgramEnded);
        saved_level_ = ErrorLevel;
        TakeErrorKind();
        LastErrorNumber = 0;
    }
    void TearDown() override {
        ErrorLevel = saved_level_;
        SetProgramEndHook(nullptr);
    }

    // Runs a report and tells whether it ended the program.
    template <typename Report> bool Ends(Report report) {
        try {
            report();
        } catch (const ProgramEnded &) {
            return true;
        }
        return false;
    }

    void ExpectBox(std::size_t index, const std::string &caption, unsigned style) {
        ASSERT_GT(RecordedErrorBoxes().size(), index);
        const RecordedErrorBox &box = RecordedErrorBoxes()[index];
        EXPECT_EQ(box.text, kBoxText);
        EXPECT_EQ(box.caption, caption);
        EXPECT_EQ(box.style, style);
    }

    std::int32_t saved_level_ = 1;
};

TEST_F(ErrorLevels, MinusOneIsSilentForBothSeverities) {
    ErrorLevel = -1;
    EXPECT_FALSE(Ends([] { RaiseFatal(210); }));
    EXPECT_EQ(LastErrorNumber, 210);
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(TakeErrorKind(), 0);

    EXPECT_FALSE(Ends([] { RaiseNonFatal(209, "C:\\x\\*.SRC"); }));
    EXPECT_EQ(LastErrorNumber, 209);
    EXPECT_EQ(TakeErrorKind(), 1);
    EXPECT_TRUE(RecordedErrorBoxes().empty());
}

TEST_F(ErrorLevels, ZeroAndBelowMinusOneShowOnlyFatalErrors) {
    for (std::int32_t level : {0, -2, -100}) {
        RecordedErrorBoxes().clear();
        ErrorLevel = level;
        EXPECT_FALSE(Ends([] { RaiseNonFatal(223); })) << level;
        EXPECT_EQ(TakeErrorKind(), 1);
        EXPECT_TRUE(RecordedErrorBoxes().empty()) << level;

        EXPECT_TRUE(Ends([] { RaiseFatal(204); })) << level;
        EXPECT_EQ(RecordedErrorBoxes().size(), 1u);
        ExpectBox(0, "String-Index ist < 1 !", kErrorStyle);
        EXPECT_EQ(ErrorKind, 2);
        EXPECT_EQ(LastErrorNumber, 204);
    }
}

TEST_F(ErrorLevels, DefaultLevelWarnsAndContinuesOnOk) {
    ASSERT_EQ(saved_level_, 1) << "the level starts at 1";
    ErrorLevel = 1;
    EXPECT_FALSE(Ends([] { RaiseNonFatal(305, "Software\\Nowhere"); }));
    ASSERT_EQ(RecordedErrorBoxes().size(), 1u);
    ExpectBox(0, "REGISTRY: Software\\Nowhere", kWarningStyle);
    EXPECT_EQ(ErrorKind, 1);
    EXPECT_EQ(LastErrorNumber, 305);
}

TEST_F(ErrorLevels, CancelShowsExactlyTwoBoxesThenEnds) {
    for (std::int32_t level : {1, 3, 1000}) {
        RecordedErrorBoxes().clear();
        ErrorLevel = level;
        SetErrorBoxAnswer(2);
        EXPECT_TRUE(Ends([] { RaiseNonFatal(244); })) << level;
        ASSERT_EQ(RecordedErrorBoxes().size(), 2u) << level;
        ExpectBox(0, "Der Text pa\xDFt nicht komplett in die Bereichsvariable!", kWarningStyle);
        ExpectBox(1, "Programm abgebrochen!", kErrorStyle);
        EXPECT_EQ(ErrorKind, 1);
    }
}

TEST_F(ErrorLevels, LevelTwoTreatsNonFatalErrorsAsFatal) {
    ErrorLevel = 2;
    SetErrorBoxAnswer(1);
    EXPECT_TRUE(Ends([] { RaiseNonFatal(228, "logo.bmp"); }));
    ASSERT_EQ(RecordedErrorBoxes().size(), 1u);
    ExpectBox(0, "Bitmap nicht ladbar: logo.bmp", kErrorStyle);
    EXPECT_EQ(ErrorKind, 1);
}

TEST_F(ErrorLevels, FatalReportEndsAtEveryLevelButMinusOne) {
    for (std::int32_t level : {1, 2, 3}) {
        RecordedErrorBoxes().clear();
        ErrorLevel = level;
        EXPECT_TRUE(Ends([] { RaiseFatal(247, "nothere.dll"); })) << level;
        ASSERT_EQ(RecordedErrorBoxes().size(), 1u);
        ExpectBox(0, "Fehler beim Laden der DLL: nothere.dll", kErrorStyle);
    }
}

TEST_F(ErrorLevels, UnknownNumberShowsOnlyTheDetail) {
    ErrorLevel = 1;
    EXPECT_TRUE(Ends([] { RaiseFatal(4711, "detail"); }));
    EXPECT_TRUE(Ends([] { RaiseFatal(4712); }));
    ASSERT_EQ(RecordedErrorBoxes().size(), 2u);
    ExpectBox(0, "detail", kErrorStyle);
    ExpectBox(1, "", kErrorStyle);
    EXPECT_EQ(LastErrorNumber, 4712);
}

TEST_F(ErrorLevels, LaterReportOverwritesTheIndicators) {
    ErrorLevel = -1;
    RaiseFatal(300, "a.src");
    RaiseNonFatal(209);
    EXPECT_EQ(LastErrorNumber, 209);
    EXPECT_EQ(TakeErrorKind(), 1);
}

TEST(ErrorEnd, WithoutAHookTheProcessEndsWithCodeZero) {
    EXPECT_EXIT(
        {
            SetProgramEndHook(nullptr);
            ErrorLevel = 0;
            RaiseFatal(210);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
