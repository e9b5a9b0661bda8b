// CallLibrary made directly on the calling thread (no runtime running):
// argument passing, how the library is found, loaded and freed, and the two
// lookup failures at "errorlevel" -1.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "call_target.h"
#include "runtime/core/errors.h"
#include "runtime/system/library_call.h"

namespace {

class LibraryCall : public ::testing::Test {
  protected:
    void SetUp() override {
        savedLevel_ = ErrorLevel;
        ErrorLevel = -1;
        TakeErrorKind();
        LastErrorNumber = 0;
    }
    void TearDown() override { ErrorLevel = savedLevel_; }

    // The path of the module that answered OwnPath when called as library, in small letters.
    static std::string LoadedAs(const std::string &library) {
        char path[MAX_PATH] = {};
        const std::intptr_t n =
            CallLibrary(library.c_str(), "OwnPath", {reinterpret_cast<std::uintptr_t>(path), sizeof path});
        EXPECT_GT(n, 0) << library;
        std::string text = path;
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        return text.substr(text.find_last_of("\\/") + 1);
    }

    std::int32_t savedLevel_ = 1;
};

TEST_F(LibraryCall, PassesZeroTo32WordsInOrder) {
    std::uintptr_t words[MaxCallArguments];
    for (int i = 0; i < MaxCallArguments; ++i)
        words[i] = Word(i);
    for (int n = 0; n <= MaxCallArguments; ++n) {
        const std::string name = "Args" + std::to_string(n);
        EXPECT_EQ(ExpectedChecksum(n),
                  static_cast<std::uintptr_t>(CallLibrary(TargetPath().c_str(), name.c_str(), n, words)))
            << name;
    }
    EXPECT_EQ(0, TakeErrorKind());
}

TEST_F(LibraryCall, UsesALoadedSystemModuleByName) {
    const DWORD before = GetTickCount();
    const DWORD ticks = static_cast<DWORD>(CallLibrary("KERNEL32", "GetTickCount"));
    const DWORD after = GetTickCount();
    EXPECT_LE(before, ticks);
    EXPECT_LE(ticks, after);
    // A 32-bit int result is taken from the low half of the word.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN),
              static_cast<std::int32_t>(CallLibrary("user32", "GetSystemMetrics", {SM_CXSCREEN})));
}

TEST_F(LibraryCall, LoadsAndFreesALibraryOnEveryCallUnlessItIsAlreadyLoaded) {
    ASSERT_EQ(nullptr, GetModuleHandleA("call_target.dll"));
    EXPECT_EQ(1, CallLibrary(TargetPath().c_str(), "Counter"));
    EXPECT_EQ(1, CallLibrary(TargetPath().c_str(), "Counter"));
    EXPECT_EQ(nullptr, GetModuleHandleA("call_target.dll"));

    HMODULE held = LoadLibraryA(TargetPath().c_str());
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(1, CallLibrary(TargetPath().c_str(), "Counter"));
    // Found by its file part alone, wherever the given path points.
    EXPECT_EQ(2, CallLibrary("call_target", "Counter"));
    EXPECT_EQ(3, CallLibrary("C:\\elsewhere/call_target.dll", "Counter"));
    EXPECT_EQ(held, GetModuleHandleA("call_target.dll"));
    FreeLibrary(held);
    EXPECT_EQ(nullptr, GetModuleHandleA("call_target.dll"));
}

TEST_F(LibraryCall, AppendsDllOnlyToNamesWithoutAThreeLetterExtension) {
    EXPECT_EQ("call_target.ocx", LoadedAs(TargetPath("call_target.ocx")));
    EXPECT_EQ("call_target.dll", LoadedAs(TargetPath("call_target")));
    EXPECT_EQ("ct.dll", LoadedAs("ct"));
    EXPECT_EQ(0, TakeErrorKind());

    // The file without extension exists, but the call looks for call_target_noext.DLL.
    EXPECT_EQ(-1, CallLibrary(TargetPath("call_target_noext").c_str(), "Args0"));
    EXPECT_EQ(2, TakeErrorKind());
    EXPECT_EQ(247, LastErrorNumber);
}

TEST_F(LibraryCall, UnknownLibraryOrFunctionGivesMinusOneAfterFatal247Or248) {
    EXPECT_EQ(-1, CallLibrary("quillsort_no_such_library", "Args0"));
    EXPECT_EQ(2, TakeErrorKind());
    EXPECT_EQ(247, LastErrorNumber);

    // Names are exact: no other case, no character-set suffix.
    for (const char *name : {"args0", "Args33", "GetTickCountA"}) {
        LastErrorNumber = 0;
        EXPECT_EQ(-1, CallLibrary(TargetPath().c_str(), name)) << name;
        EXPECT_EQ(2, TakeErrorKind()) << name;
        EXPECT_EQ(248, LastErrorNumber) << name;
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("call_target.dll"));
}

TEST_F(LibraryCall, ACountOutsideZeroTo32CallsNothing) {
    std::uintptr_t words[MaxCallArguments + 1] = {};
    HMODULE held = LoadLibraryA(TargetPath().c_str());
    ASSERT_NE(nullptr, held);
    EXPECT_EQ(-1, CallLibrary(TargetPath().c_str(), "Counter", MaxCallArguments + 1, words));
    EXPECT_EQ(-1, CallLibrary(TargetPath().c_str(), "Counter", -1, words));
    EXPECT_EQ(1, CallLibrary(TargetPath().c_str(), "Counter"));
    FreeLibrary(held);
    EXPECT_EQ(0, TakeErrorKind());
}

} // namespace
