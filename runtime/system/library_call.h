// Calls of exported library functions by name, made on the GUI thread.
//
// Arguments and results are machine words (uintptr_t): numbers, handles or
// addresses of texts and blocks that the caller keeps alive for the call.
// The target must follow the Win32 API calling convention (stdcall on 32-bit
// Windows, the one x64 convention on 64-bit Windows).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/core/string_value.h"

// Most arguments one call can take.
constexpr int MaxCallArguments = 32;

// The process-wide argument slots of the call in progress; slot 0 is the
// target's first parameter. Written by CallLibrary on the script thread and
// read on the GUI thread while the script thread is blocked or held, so never
// by two threads at once.
extern std::uintptr_t CallArguments[MaxCallArguments];

// Calls the function at address with CallArguments slots 0 to count - 1 as its
// parameters (pushed count - 1 down to 0) and returns its result word. count
// must lie in 0 to MaxCallArguments (anything else calls nothing, result 0).
// Runs on the calling thread: the GUI thread's executor of the
// GR_CALL_FUNCTION request calls it with the block's first two words and
// stores the result in the block's third word.
std::uintptr_t CallFunctionWithSlots(std::uintptr_t address, int count);

// Calls function (exact name, case matters) of library with the count words
// of args (count 0 to 32) and returns the function's result word; a function
// that returns a 32-bit int leaves its value in the low 32 bits, so take it
// with static_cast<std::int32_t>. The library is found by its file part among
// the loaded modules, else loaded by its whole name (".DLL" appended when the
// name has no three-letter extension) and freed again after the call. On
// the script thread, functions of the modules that stay loaded for the whole
// process (kernel32, user32, gdi32, advapi32 and the system libraries loaded
// on demand) are looked up once and their addresses kept.
// A library that cannot be loaded raises the fatal runtime error 247, a
// missing function 248; when that returns (errorlevel -1) the result is -1
// and nothing is called. A count outside 0 to 32 calls nothing and gives -1. From the script thread the call
// is carried to the GUI thread as GR_CALL_FUNCTION; on the GUI thread it is made directly with the script
// thread held. Before the runtime's request window exists the call is made directly on the calling thread.
std::intptr_t CallLibrary(const StringValue &library, const StringValue &function, int count,
                          const std::uintptr_t *args);
// The same with the words listed in place: CallLibrary("USER32", "GetSystemMetrics", {0}).
inline std::intptr_t CallLibrary(const StringValue &library, const StringValue &function,
                                 std::initializer_list<std::uintptr_t> args = {}) {
    return CallLibrary(library, function, static_cast<int>(args.size()), args.begin());
}

// Most argument words of one call in a batch.
constexpr int MaxBatchedArguments = 4;

// One call of CallLibraryBatch: the caller fills in library, function, count
// (0 to MaxBatchedArguments) and args; the batch writes result.
struct BatchedCall {
    const char *library;
    const char *function;
    int count;
    std::uintptr_t args[MaxBatchedArguments];
    std::intptr_t result;
};

// Makes the n calls in order, each as CallLibrary makes it (same lookup,
// fatal errors 247 and 248, result -1 for a call that cannot be made, the
// target run on the GUI thread with no script code running meanwhile), but
// in one hand-over to the GUI thread, which runs them back to back: n input
// polls cost the price of one. The calls' own words are used, not the
// CallArguments slots. Any thread; the caller keeps calls alive.
void CallLibraryBatch(BatchedCall *calls, int n);
