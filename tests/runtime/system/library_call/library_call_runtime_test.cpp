// CallLibrary inside the running runtime: calls from the script thread are
// carried to the GUI thread, calls made on the GUI thread hold the script
// thread, and a shown lookup failure ends the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "call_target.h"
#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/script_thread.h"
#include "runtime/core/settings.h"
#include "runtime/system/library_call.h"
#include "tests/support/box_watch.h"

namespace {

// What the script routines saw; read by the test after RunRuntime returned.
struct Observed {
    DWORD scriptThread = 0;
    DWORD callThread = 0;
    std::vector<std::uintptr_t> checksums;
    std::intptr_t unknownLibrary = 0, unknownFunction = 0;
    std::int32_t libraryKind = 0, libraryNumber = 0, functionKind = 0, functionNumber = 0;
    bool carriedOn = false;
    DWORD timerThread = 0;
    DWORD timerCallThread = 0;
    std::uintptr_t movedWhileHeld = 99;
    std::uintptr_t guiChecksum = 0;
    LONG spinsBefore = 0;
};
Observed seen;
volatile LONG spins = 0;
volatile LONG timerDone = 0;

int RunScript(void (*scriptMain)()) {
    seen = Observed();
    return RunRuntime(GetModuleHandleA(nullptr), scriptMain);
}

void CallsFromTheScriptThread() {
    seen.scriptThread = GetCurrentThreadId();
    seen.callThread = static_cast<DWORD>(CallLibrary("KERNEL32", "GetCurrentThreadId"));
    std::uintptr_t words[MaxCallArguments];
    for (int i = 0; i < MaxCallArguments; ++i)
        words[i] = Word(i);
    for (int n = 0; n <= MaxCallArguments; ++n)
        seen.checksums.push_back(static_cast<std::uintptr_t>(
            CallLibrary(TargetPath().c_str(), ("Args" + std::to_string(n)).c_str(), n, words)));

    SetErrorLevel(-1);
    seen.unknownLibrary = CallLibrary("quillsort_no_such_library", "Args0");
    seen.libraryKind = TakeErrorKind();
    seen.libraryNumber = LastErrorNumber;
    seen.unknownFunction = CallLibrary(TargetPath().c_str(), "args0");
    seen.functionKind = TakeErrorKind();
    seen.functionNumber = LastErrorNumber;
    EndProgram();
}

TEST(LibraryCallInRuntime, ScriptThreadCallsRunOnTheGuiThreadWithEveryArgument) {
    ASSERT_EQ(0, RunScript(CallsFromTheScriptThread));
    EXPECT_EQ(GetCurrentThreadId(), seen.callThread);
    EXPECT_NE(seen.scriptThread, seen.callThread);
    ASSERT_EQ(static_cast<std::size_t>(MaxCallArguments + 1), seen.checksums.size());
    for (int n = 0; n <= MaxCallArguments; ++n)
        EXPECT_EQ(ExpectedChecksum(n), seen.checksums[static_cast<std::size_t>(n)]) << n;
    EXPECT_EQ(-1, seen.unknownLibrary);
    EXPECT_EQ(2, seen.libraryKind);
    EXPECT_EQ(247, seen.libraryNumber);
    EXPECT_EQ(-1, seen.unknownFunction);
    EXPECT_EQ(2, seen.functionKind);
    EXPECT_EQ(248, seen.functionNumber);
}

// A batch from the script thread: every call on the GUI thread, in order and
// under one load of a library that is not otherwise loaded; a call that
// cannot be made gives -1 and the error, and the calls after it are made.
struct BatchSeen {
    std::intptr_t results[6] = {};
    std::int32_t kind = 0, number = 0;
    HMODULE loadedAfter = nullptr;
};
BatchSeen batchSeen;

void BatchFromTheScriptThread() {
    const std::string target = TargetPath();
    BatchedCall calls[6] = {
        {"KERNEL32", "GetCurrentThreadId", 0, {}, 0},
        {target.c_str(), "Counter", 0, {}, 0},
        {target.c_str(), "Counter", 0, {}, 0},
        {target.c_str(), "Args3", 3, {Word(0), Word(1), Word(2)}, 0},
        {target.c_str(), "NoSuchFunction", 0, {}, 0},
        {"user32", "GetKeyState", 1, {VK_F13}, 0},
    };
    SetErrorLevel(-1);
    TakeErrorKind();
    CallLibraryBatch(calls, 6);
    batchSeen.kind = TakeErrorKind();
    batchSeen.number = LastErrorNumber;
    for (int i = 0; i < 6; ++i)
        batchSeen.results[i] = calls[i].result;
    batchSeen.loadedAfter = GetModuleHandleA("call_target.dll");
    seen.scriptThread = GetCurrentThreadId();
    EndProgram();
}

TEST(LibraryCallInRuntime, ABatchRunsEveryCallInOrderOnTheGuiThread) {
    batchSeen = BatchSeen();
    ASSERT_EQ(0, RunScript(BatchFromTheScriptThread));
    EXPECT_EQ(static_cast<std::intptr_t>(GetCurrentThreadId()), batchSeen.results[0]);
    EXPECT_NE(static_cast<std::intptr_t>(seen.scriptThread), batchSeen.results[0]);
    EXPECT_EQ(1, batchSeen.results[1]);
    EXPECT_EQ(2, batchSeen.results[2]);
    EXPECT_EQ(static_cast<std::intptr_t>(ExpectedChecksum(3)), batchSeen.results[3]);
    EXPECT_EQ(-1, batchSeen.results[4]);
    EXPECT_EQ(2, batchSeen.kind);
    EXPECT_EQ(248, batchSeen.number);
    EXPECT_EQ(0, batchSeen.results[5]) << "the call after the failed one is made";
    EXPECT_EQ(nullptr, batchSeen.loadedAfter) << "a library loaded for the batch is freed after it";
}

// Runs on the GUI thread from its message loop while the script thread spins.
VOID CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    seen.timerThread = GetCurrentThreadId();
    seen.spinsBefore = spins;
    seen.timerCallThread = static_cast<DWORD>(CallLibrary("KERNEL32", "GetCurrentThreadId"));
    seen.movedWhileHeld = static_cast<std::uintptr_t>(
        CallLibrary(TargetPath().c_str(), "ProbeHeld", {reinterpret_cast<std::uintptr_t>(&spins)}));
    std::uintptr_t words[MaxCallArguments];
    for (int i = 0; i < MaxCallArguments; ++i)
        words[i] = Word(i);
    seen.guiChecksum = static_cast<std::uintptr_t>(CallLibrary(TargetPath().c_str(), "Args32", 32, words));
    InterlockedExchange(&timerDone, 1);
}

void SpinWhileTheGuiThreadCalls() {
    InterlockedExchange(&spins, 0);
    InterlockedExchange(&timerDone, 0);
    CallLibrary("USER32", "SetTimer", {0, 0, 50, reinterpret_cast<std::uintptr_t>(&OnTimer)});
    // Each pass stands for one runtime operation: the place where a held
    // script thread stops.
    while (timerDone == 0) {
        InterlockedIncrement(&spins);
        ScriptCheckpoint();
    }
    EndProgram();
}

TEST(LibraryCallInRuntime, ACallOnTheGuiThreadHoldsTheScriptThread) {
    ASSERT_EQ(0, RunScript(SpinWhileTheGuiThreadCalls));
    EXPECT_EQ(GetCurrentThreadId(), seen.timerThread);
    EXPECT_EQ(GetCurrentThreadId(), seen.timerCallThread);
    EXPECT_GT(seen.spinsBefore, 0);
    EXPECT_EQ(0u, seen.movedWhileHeld);
    EXPECT_EQ(ExpectedChecksum(32), seen.guiChecksum);
}

void UnknownLibraryShown() {
    CallLibrary("quillsort_no_such_library", "Args0");
    seen.carriedOn = true;
    EndProgram();
}

void UnknownFunctionShown() {
    CallLibrary(TargetPath().c_str(), "NoSuchFunction");
    seen.carriedOn = true;
    EndProgram();
}

TEST(LibraryCallInRuntime, ShownLookupFailuresNameTheLibraryOrFunctionAndEndTheProgram) {
    const char boxText[] = "Zeilennummer nicht verf\xFC"
                           "gbar.";
    {
        BoxWatch watch(IDOK);
        EXPECT_EQ(0, RunScript(UnknownLibraryShown));
        ASSERT_EQ(1u, watch.Boxes().size());
        EXPECT_EQ("Fehler beim Laden der DLL: quillsort_no_such_library", watch.Boxes()[0].caption);
        EXPECT_EQ(boxText, watch.Boxes()[0].text);
        EXPECT_FALSE(seen.carriedOn);
    }
    {
        BoxWatch watch(IDOK);
        EXPECT_EQ(0, RunScript(UnknownFunctionShown));
        ASSERT_EQ(1u, watch.Boxes().size());
        EXPECT_EQ("Funktion in DLL nicht vohanden: NoSuchFunction", watch.Boxes()[0].caption);
        EXPECT_EQ(boxText, watch.Boxes()[0].text);
        EXPECT_FALSE(seen.carriedOn);
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("call_target.dll"));
}

} // namespace
