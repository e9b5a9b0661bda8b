// The system libraries loaded on demand: which names they are, that they stay
// loaded once used (also through CallLibrary), and that the common-control
// classes are there for a control created by class name.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/core/errors.h"
#include "runtime/core/settings.h"
#include "runtime/system/library_call.h"
#include "runtime/system/system_libraries.h"

// The four names are recognised in any case, with or without ".dll" and a
// folder; names that merely begin like them, or other libraries, are not.
TEST(SystemLibraries, RecognisesTheFourNames) {
    for (const char *name : {"shell32", "SHELL32.DLL", "comdlg32", "Ole32.dll", "comctl32",
                             "C:\\windows\\system32\\shell32.dll", "x/comctl32"})
        EXPECT_TRUE(IsOnDemandLibrary(name)) << name;
    for (const char *name : {"shell", "shell32x", "shell32.ocx", "user32", "", "ole32.dl"})
        EXPECT_FALSE(IsOnDemandLibrary(name)) << name;
    EXPECT_FALSE(IsOnDemandLibrary(nullptr));
    EXPECT_EQ(nullptr, OnDemandLibrary("user32"));
}

// A library loaded on demand is the process's module of that name and stays
// loaded; asking again gives the same module.
TEST(SystemLibraries, LoadedOnceAndKept) {
    HMODULE first = OnDemandLibrary("comdlg32");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, GetModuleHandleA("comdlg32.dll"));
    EXPECT_EQ(first, OnDemandLibrary("COMDLG32.DLL"));
}

// CallLibrary takes these libraries from the on-demand loader: the module is
// still loaded after the call instead of being freed with it.
TEST(SystemLibraries, CallLibraryKeepsThemLoaded) {
    CallLibrary("shell32", "IsUserAnAdmin");
    EXPECT_NE(nullptr, GetModuleHandleA("shell32.dll"));
    CallLibrary("ole32", "CoTaskMemFree", {0});
    EXPECT_NE(nullptr, GetModuleHandleA("ole32.dll"));
}

// Once started, the common-control classes are registered and the wrappers
// create their controls.
TEST(SystemLibraries, CommonControlsOnceStarted) {
    StartCommonControls();
    EXPECT_TRUE(CommonControlsStarted());
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(nullptr, "msctls_updown32", &info));
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parent);
    HWND bar = OnDemand::CreateStatusWindowA(WS_CHILD, "text", parent, 1);
    EXPECT_NE(nullptr, bar);
    DestroyWindow(parent);
}

// Looked-up functions are kept only when found: a missing function of a
// module that stays loaded is reported every time it is asked for.
TEST(SystemLibraries, MissingFunctionIsNotRemembered) {
    const std::int32_t level = ErrorLevel;
    SetErrorLevel(-1);
    for (int i = 0; i < 2; ++i) {
        TakeErrorKind();
        EXPECT_EQ(-1, CallLibrary("user32", "QuillsortNoSuchFunction"));
        EXPECT_NE(0, TakeErrorKind());
        EXPECT_EQ(248, LastErrorNumber);
    }
    SetErrorLevel(level);
    EXPECT_EQ(static_cast<std::intptr_t>(GetSystemMetrics(SM_CXSCREEN)),
              CallLibrary("user32", "GetSystemMetrics", {SM_CXSCREEN}));
    EXPECT_EQ(static_cast<std::intptr_t>(GetSystemMetrics(SM_CXSCREEN)),
              CallLibrary("user32", "GetSystemMetrics", {SM_CXSCREEN}));
}
