#include "runtime/system/system_libraries.h"

#include <cstring>

#include <shellapi.h>

namespace {

const char *const Libraries[] = {"shell32", "comdlg32", "ole32", "comctl32"};
constexpr int LibraryCount = sizeof Libraries / sizeof Libraries[0];
HMODULE volatile Modules[LibraryCount] = {};

bool ComStarted = false;
volatile LONG ControlsStarted = 0;

// The index of name in Libraries, or -1.
int LibraryIndex(const char *name) {
    if (name == nullptr)
        return -1;
    const char *file = name;
    for (const char *p = name; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/')
            file = p + 1;
    }
    for (int i = 0; i < LibraryCount; ++i) {
        const std::size_t length = std::strlen(Libraries[i]);
        if (_strnicmp(file, Libraries[i], length) == 0 &&
            (file[length] == '\0' || _stricmp(file + length, ".dll") == 0))
            return i;
    }
    return -1;
}

HMODULE ModuleAt(int index) {
    HMODULE module = Modules[index];
    if (module == nullptr) {
        // Two threads may both load it; each load only adds a reference to a
        // module that is never freed.
        module = LoadLibraryA(Libraries[index]);
        InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(&Modules[index]), module);
    }
    return module;
}

// The function's address, looked up once and kept in slot.
template <typename F> F Function(int library, const char *name, F volatile &slot) {
    F function = slot;
    if (function == nullptr) {
        HMODULE module = ModuleAt(library);
        if (module == nullptr)
            return nullptr;
        function = reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(module, name)));
        InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(&slot),
                                   reinterpret_cast<PVOID>(function));
    }
    return function;
}

enum : int { Shell32, Comdlg32, Ole32, Comctl32 };

} // namespace

bool IsOnDemandLibrary(const char *name) {
    return LibraryIndex(name) >= 0;
}

HMODULE OnDemandLibrary(const char *name) {
    const int index = LibraryIndex(name);
    return index < 0 ? nullptr : ModuleAt(index);
}

void StartGuiCom() {
    if (ComStarted)
        return;
    using Initialize = HRESULT(WINAPI *)(LPVOID);
    static Initialize volatile initialize = nullptr;
    if (Initialize call = Function(Ole32, "CoInitialize", initialize)) {
        call(nullptr);
        ComStarted = true;
    }
}

void StartGuiComWhenLoaded() {
    if (!ComStarted && (Modules[Ole32] != nullptr || GetModuleHandleA("ole32.dll") != nullptr))
        StartGuiCom();
}

void EndGuiCom() {
    if (!ComStarted)
        return;
    using Uninitialize = void(WINAPI *)();
    static Uninitialize volatile uninitialize = nullptr;
    if (Uninitialize call = Function(Ole32, "CoUninitialize", uninitialize))
        call();
    ComStarted = false;
}

void StartCommonControls() {
    if (ControlsStarted != 0)
        return;
    using InitControls = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
    static InitControls volatile init = nullptr;
    if (InitControls call = Function(Comctl32, "InitCommonControlsEx", init)) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                            ICC_DATE_CLASSES};
        call(&classes);
        InterlockedExchange(&ControlsStarted, 1);
    }
}

bool CommonControlsStarted() {
    return ControlsStarted != 0;
}

namespace OnDemand {

HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    using Target = HINSTANCE(WINAPI *)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static Target volatile slot = nullptr;
    Target call = Function(Shell32, "ShellExecuteA", slot);
    // SE_ERR_OOM (8) when the shell cannot be had, as for a shell out of memory.
    return call ? call(owner, verb, file, parameters, folder, show) : reinterpret_cast<HINSTANCE>(SE_ERR_OOM);
}

PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info) {
    using Target = PIDLIST_ABSOLUTE(WINAPI *)(LPBROWSEINFOA);
    static Target volatile slot = nullptr;
    Target call = Function(Shell32, "SHBrowseForFolderA", slot);
    return call ? call(info) : nullptr;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path) {
    using Target = BOOL(WINAPI *)(PCIDLIST_ABSOLUTE, LPSTR);
    static Target volatile slot = nullptr;
    Target call = Function(Shell32, "SHGetPathFromIDListA", slot);
    return call ? call(list, path) : FALSE;
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA dialog) {
    using Target = BOOL(WINAPI *)(LPOPENFILENAMEA);
    static Target volatile slot = nullptr;
    Target call = Function(Comdlg32, "GetOpenFileNameA", slot);
    return call ? call(dialog) : FALSE;
}

BOOL GetSaveFileNameA(LPOPENFILENAMEA dialog) {
    using Target = BOOL(WINAPI *)(LPOPENFILENAMEA);
    static Target volatile slot = nullptr;
    Target call = Function(Comdlg32, "GetSaveFileNameA", slot);
    return call ? call(dialog) : FALSE;
}

void CoTaskMemFree(LPVOID block) {
    using Target = void(WINAPI *)(LPVOID);
    static Target volatile slot = nullptr;
    if (Target call = Function(Ole32, "CoTaskMemFree", slot))
        call(block);
}

HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id) {
    using Target = HWND(WINAPI *)(LONG, LPCSTR, HWND, UINT);
    static Target volatile slot = nullptr;
    StartCommonControls();
    Target call = Function(Comctl32, "CreateStatusWindowA", slot);
    return call ? call(style, text, parent, id) : nullptr;
}

HWND CreateUpDownControl(DWORD style, int x, int y, int width, int height, HWND parent, int id,
                         HINSTANCE instance, HWND buddy, int upper, int lower, int position) {
    using Target = HWND(WINAPI *)(DWORD, int, int, int, int, HWND, int, HINSTANCE, HWND, int, int, int);
    static Target volatile slot = nullptr;
    StartCommonControls();
    Target call = Function(Comctl32, "CreateUpDownControl", slot);
    return call ? call(style, x, y, width, height, parent, id, instance, buddy, upper, lower, position)
                : nullptr;
}

} // namespace OnDemand
