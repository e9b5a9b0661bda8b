// The named system settings: names, previous values, the "errorlevel" rule and
// the fast-loop requests that "fastmode" posts. The requests are caught on
// this thread, which stands in for the GUI thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/random.h"
#include "runtime/core/requests.h"
#include "runtime/core/settings.h"
#include "runtime/core/spine_hooks.h"

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_gui_thread_ = GuiThreadId;
        saved_request_window_ = RequestWindow;
        sink_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(sink_, nullptr);
        GuiThreadId = GetCurrentThreadId();
        RequestWindow = sink_;
        InterlockedExchange(&FastMode, 0);
        ErrorLevel = 1;
        PostedRequests();
    }
    void TearDown() override {
        InterlockedExchange(&FastMode, 0);
        ErrorLevel = 1;
        PostedRequests();
        GuiThreadId = saved_gui_thread_;
        RequestWindow = saved_request_window_;
        DestroyWindow(sink_);
    }

    // The request codes posted since the last call, in order.
    static std::vector<WPARAM> PostedRequests() {
        std::vector<WPARAM> codes;
        MSG message;
        while (PeekMessageA(&message, nullptr, GUI_REQUEST_MESSAGE, GUI_REQUEST_MESSAGE, PM_REMOVE))
            codes.push_back(message.wParam);
        return codes;
    }

    DWORD saved_gui_thread_ = 0;
    HWND saved_request_window_ = nullptr;
    HWND sink_ = nullptr;
};

using Codes = std::vector<WPARAM>;

TEST_F(Settings, NamesAreCaseInsensitiveAndReturnThePreviousValue) {
    EXPECT_EQ(SetSystemValue("ERRORLEVEL", -1), 1);
    EXPECT_EQ(ErrorLevel, -1);
    EXPECT_EQ(SetSystemValue("ErrorLevel", 0), -1);
    EXPECT_EQ(ErrorLevel, 0);

    const char *stored[] = {"messagemode", "sqlwidth",    "sqldbc",    "truecolor",
                            "autopaint",   "dbmemowidth", "debugmode", "pdc"};
    for (const char *name : stored) {
        SetSystemValue(name, 7);
        EXPECT_EQ(SetSystemValue(name, 11), 7) << name;
        char upper[32];
        lstrcpynA(upper, name, sizeof upper);
        CharUpperA(upper);
        EXPECT_EQ(SetSystemValue(upper, 0), 11) << name;
    }
    EXPECT_EQ(MessageMode, 0);
    EXPECT_EQ(AutoPaint, 0);
    EXPECT_EQ(TrueColor, 0);
    SetTrueColor(1);
    EXPECT_EQ(SetSystemValue("truecolor", 1), 1);
}

TEST_F(Settings, UnknownNamesChangeNothing) {
    SetSystemValue("sqlwidth", 50);
    EXPECT_EQ(SetSystemValue("sqlwidt", 5), 0);
    EXPECT_EQ(SetSystemValue("", 5), 0);
    EXPECT_EQ(SetSystemValue(nullptr, 5), 0);
    EXPECT_EQ(SetSystemValue("sqlwidth", 50), 50);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_TRUE(PostedRequests().empty());
}

TEST_F(Settings, PdcKeepsAFullHandleWidth) {
    const std::intptr_t handle =
        static_cast<std::intptr_t>(sizeof(void *) == 8 ? 0x123456789ABCLL : 0x12345678);
    SetSystemValue("pdc", handle);
    EXPECT_EQ(PdcHandle, handle);
    EXPECT_EQ(SetSystemValue("pdc", 0), handle);
}

TEST_F(Settings, RandSeedSeedsTheGeneratorAndReturnsZero) {
    SeedRandom(31337);
    std::uint32_t expected[3] = {NextRandomWord(), NextRandomWord(), NextRandomWord()};
    NextRandomWord();
    EXPECT_EQ(SetSystemValue("RandSeed", 31337), 0);
    for (std::uint32_t word : expected)
        EXPECT_EQ(NextRandomWord(), word);
}

TEST_F(Settings, FastModePostsTheLoopRequestsOnChangesOnly) {
    EXPECT_EQ(SetSystemValue("fastmode", 1), 0);
    EXPECT_EQ(FastMode, 1);
    EXPECT_EQ(PostedRequests(), Codes{GR_ENTER_FAST_LOOP});

    EXPECT_EQ(SetSystemValue("fastmode", 1), 1);
    EXPECT_TRUE(PostedRequests().empty());

    // A different non-zero value nests one more fast loop.
    EXPECT_EQ(SetSystemValue("FASTMODE", 5), 1);
    EXPECT_EQ(PostedRequests(), Codes{GR_ENTER_FAST_LOOP});

    EXPECT_EQ(SetSystemValue("fastmode", 0), 5);
    EXPECT_EQ(FastMode, 0);
    EXPECT_EQ(PostedRequests(), (Codes{GR_PUMP_REQUESTS_ONLY, GR_LEAVE_FAST_LOOP}));

    EXPECT_EQ(SetSystemValue("fastmode", 0), 0);
    EXPECT_TRUE(PostedRequests().empty());
}

TEST_F(Settings, ErrorLevelMinusTwoTogglesFastMode) {
    ErrorLevel = 0;
    // -2 with fast mode off: fast mode on, the level stays.
    EXPECT_EQ(SetSystemValue("errorlevel", -2), 0);
    EXPECT_EQ(ErrorLevel, 0);
    EXPECT_EQ(FastMode, 1);
    EXPECT_EQ(PostedRequests(), Codes{GR_ENTER_FAST_LOOP});

    // -2 again while fast mode is on: stored as the level.
    SetErrorLevel(-2);
    EXPECT_EQ(ErrorLevel, -2);
    EXPECT_EQ(FastMode, 1);
    EXPECT_TRUE(PostedRequests().empty());

    // Any other value is stored, fast mode stays on.
    SetErrorLevel(1);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_EQ(FastMode, 1);

    // Writing back the current level switches fast mode off, level unchanged.
    EXPECT_EQ(SetSystemValue("errorlevel", 1), 1);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_EQ(FastMode, 0);
    EXPECT_EQ(PostedRequests(), (Codes{GR_PUMP_REQUESTS_ONLY, GR_LEAVE_FAST_LOOP}));

    // With fast mode off, writing the current level just stores it.
    SetErrorLevel(1);
    EXPECT_EQ(ErrorLevel, 1);
    EXPECT_EQ(FastMode, 0);
    EXPECT_TRUE(PostedRequests().empty());
}

TEST_F(Settings, StartUpHooksSetTheirDefaults) {
    ErrorLevel = -1;
    StartErrorLevel();
    EXPECT_EQ(ErrorLevel, 1);
    SetTrueColor(0);
    MarkScriptThreadStarted();
    EXPECT_EQ(TrueColor, 1);
}

} // namespace
