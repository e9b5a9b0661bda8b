// CallLibrary: module and function lookup, the argument slots, and the call
// carried to the GUI thread.
#include "runtime/system/library_call.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/script_thread.h"
#include "runtime/system/system_libraries.h"

std::uintptr_t CallArguments[MaxCallArguments];

namespace {

constexpr std::int32_t LibraryNotLoadable = 247;
constexpr std::int32_t FunctionNotFound = 248;
constexpr std::intptr_t CallFailed = -1;

// Words of the GR_CALL_FUNCTION request block.
enum CallWord : std::size_t { CALL_FUNCTION, CALL_COUNT, CALL_RESULT, CALL_BLOCK_WORDS };

template <std::size_t> using Word = std::uintptr_t;

// Calls address as a function of sizeof...(I) word parameters, slots[0] first.
// WINAPI is stdcall on 32-bit Windows and the only convention on x64.
template <std::size_t... I>
std::uintptr_t CallWithWords(std::uintptr_t address, const std::uintptr_t *slots, std::index_sequence<I...>) {
    using Target = std::uintptr_t(WINAPI *)(Word<I>...);
    return reinterpret_cast<Target>(address)(slots[I]...);
}

using Caller = std::uintptr_t (*)(std::uintptr_t, const std::uintptr_t *);

template <std::size_t N> std::uintptr_t CallWithCount(std::uintptr_t address, const std::uintptr_t *slots) {
    return CallWithWords(address, slots, std::make_index_sequence<N>());
}

// One caller per argument count 0 to MaxCallArguments.
template <std::size_t... N> constexpr auto MakeCallers(std::index_sequence<N...>) {
    return std::array<Caller, sizeof...(N)>{&CallWithCount<N>...};
}

std::uintptr_t CallWithSlots(std::uintptr_t address, int count, const std::uintptr_t *slots) {
    static constexpr auto callers = MakeCallers(std::make_index_sequence<MaxCallArguments + 1>());
    if (address == 0 || count < 0 || count > MaxCallArguments)
        return 0;
    return callers[static_cast<std::size_t>(count)](address, slots);
}

// The text after the last backslash or forward slash.
std::string FilePart(const std::string &name) {
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The whole name, with ".DLL" appended unless its fourth-last character is a dot.
std::string LoadName(const std::string &name) {
    if (name.size() < 4 || name[name.size() - 4] != '.')
        return name + ".DLL";
    return name;
}

// A module already in the process is used as it is; any other is loaded for
// this call only (owned == true: the caller frees it).
HMODULE FindModule(const StringValue &library, bool &owned) {
    const std::string name = library.c_str();
    owned = false;
    // The system libraries the program loads on demand count as the
    // program's own: loaded once, kept, never freed by a call.
    if (name.find_first_of("\\/") == std::string::npos && IsOnDemandLibrary(name.c_str())) {
        if (HMODULE module = OnDemandLibrary(name.c_str()))
            return module;
    }
    if (HMODULE loaded = GetModuleHandleA(FilePart(name).c_str()))
        return loaded;
    HMODULE module = LoadLibraryA(LoadName(name).c_str());
    owned = module != nullptr;
    return module;
}

// True for a library name (no path) of a module that stays loaded for the
// whole process: the program's own imports and the system libraries it loads
// on demand. Their functions' addresses never change, so they are looked up
// once.
bool StaysLoaded(const std::string &name) {
    static const char *const imports[] = {"kernel32", "user32", "gdi32", "advapi32"};
    if (name.find_first_of("\\/") != std::string::npos)
        return false;
    for (const char *import : imports) {
        const std::size_t length = std::strlen(import);
        if (_strnicmp(name.c_str(), import, length) == 0 &&
            (name.size() == length || _stricmp(name.c_str() + length, ".dll") == 0))
            return true;
    }
    return IsOnDemandLibrary(name.c_str());
}

// Resolved functions of such modules, by library and function name as given.
// Script thread only (the GUI thread's calls look up each time).
std::unordered_map<std::string, FARPROC> &ResolvedFunctions() {
    static std::unordered_map<std::string, FARPROC> resolved;
    return resolved;
}

std::string ResolvedKey(const StringValue &library, const StringValue &function) {
    std::string key = library.c_str();
    key += '\0';
    key += function.c_str();
    return key;
}

bool OnGuiThread() {
    return GuiThreadId != 0 && GetCurrentThreadId() == GuiThreadId;
}

std::uintptr_t CallOnGuiThread(std::uintptr_t address, int count, const std::uintptr_t *words) {
    if (RequestWindow == nullptr) {
        // No runtime running: nothing to hand the call to.
        return CallWithSlots(address, count, words);
    }
    if (OnGuiThread()) {
        // The caller's own words are used, not the shared slots, and the
        // script thread is held at its next runtime operation meanwhile.
        const bool hold = ScriptThread != nullptr;
        if (hold)
            HoldScriptThread();
        StartGuiComWhenLoaded();
        const std::uintptr_t result = CallWithSlots(address, count, words);
        if (hold)
            ReleaseScriptThread();
        return result;
    }
    for (int i = 0; i < count; ++i)
        CallArguments[i] = words[i];
    std::uintptr_t *block = NewRequestBlock(CALL_BLOCK_WORDS);
    block[CALL_FUNCTION] = address;
    block[CALL_COUNT] = static_cast<std::uintptr_t>(count);
    SendRequest(GR_CALL_FUNCTION, reinterpret_cast<LPARAM>(block));
    Sleep(0);
    const std::uintptr_t result = block[CALL_RESULT];
    FreeRequestBlock(block);
    return result;
}

// The functions of one batch, resolved on the calling thread, and where
// their results go.
struct ResolvedBatch {
    BatchedCall *calls;
    const FARPROC *targets; // null for a call that cannot be made
    int count;
};

// Runs on the GUI thread as the one target of a batch's hand-over.
std::uintptr_t WINAPI RunResolvedBatch(std::uintptr_t word) {
    const ResolvedBatch &batch = *reinterpret_cast<const ResolvedBatch *>(word);
    for (int i = 0; i < batch.count; ++i) {
        BatchedCall &call = batch.calls[i];
        if (batch.targets[i] != nullptr)
            call.result = static_cast<std::intptr_t>(
                CallWithSlots(reinterpret_cast<std::uintptr_t>(batch.targets[i]), call.count, call.args));
    }
    return 0;
}

// The function's address as CallLibrary looks it up (the resolved-function
// cache included); null after the fatal error 247 or 248. owned is set when
// the library was loaded for the call: the caller frees it afterwards.
FARPROC ResolveFunction(const StringValue &library, const StringValue &function, HMODULE &owned) {
    owned = nullptr;
    const bool cacheable = !OnGuiThread() && StaysLoaded(library.c_str());
    if (cacheable) {
        const auto found = ResolvedFunctions().find(ResolvedKey(library, function));
        if (found != ResolvedFunctions().end())
            return found->second;
    }
    bool loaded = false;
    HMODULE module = FindModule(library, loaded);
    if (module == nullptr) {
        RaiseFatal(LibraryNotLoadable, library.c_str());
        return nullptr;
    }
    const FARPROC target = GetProcAddress(module, function.c_str());
    if (target == nullptr) {
        // Freed before the report: a shown fatal report ends the program.
        if (loaded)
            FreeLibrary(module);
        RaiseFatal(FunctionNotFound, function.c_str());
        return nullptr;
    }
    if (cacheable && !loaded)
        ResolvedFunctions().emplace(ResolvedKey(library, function), target);
    if (loaded)
        owned = module;
    return target;
}

} // namespace

std::uintptr_t CallFunctionWithSlots(std::uintptr_t address, int count) {
    return CallWithSlots(address, count, CallArguments);
}

std::intptr_t CallLibrary(const StringValue &library, const StringValue &function, int count,
                          const std::uintptr_t *args) {
    // More words than the slots hold cannot be passed; a call with too few
    // would unbalance the target's stack, so nothing is called.
    if (count < 0 || count > MaxCallArguments || (count > 0 && args == nullptr))
        return CallFailed;

    HMODULE owned = nullptr;
    const FARPROC target = ResolveFunction(library, function, owned);
    if (target == nullptr)
        return CallFailed;
    const std::uintptr_t result = CallOnGuiThread(reinterpret_cast<std::uintptr_t>(target), count, args);
    if (owned != nullptr)
        FreeLibrary(owned);
    return static_cast<std::intptr_t>(result);
}

void CallLibraryBatch(BatchedCall *calls, int n) {
    if (calls == nullptr || n <= 0)
        return;
    std::vector<FARPROC> targets(static_cast<std::size_t>(n), nullptr);
    std::vector<HMODULE> owned;
    for (int i = 0; i < n; ++i) {
        BatchedCall &call = calls[i];
        call.result = CallFailed;
        if (call.count < 0 || call.count > MaxBatchedArguments)
            continue;
        HMODULE module = nullptr;
        targets[static_cast<std::size_t>(i)] = ResolveFunction(call.library, call.function, module);
        if (module != nullptr)
            owned.push_back(module);
    }
    ResolvedBatch batch{calls, targets.data(), n};
    std::uintptr_t word = reinterpret_cast<std::uintptr_t>(&batch);
    CallOnGuiThread(reinterpret_cast<std::uintptr_t>(&RunResolvedBatch), 1, &word);
    for (HMODULE module : owned)
        FreeLibrary(module);
}
