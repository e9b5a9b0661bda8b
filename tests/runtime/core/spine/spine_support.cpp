#include "spine_support.h"

#include <cstdio>
#include <cstring>

#include "runtime/core/frame.h"
#include "runtime/core/requests.h"

int RunScenarioByName(const char *name) {
    for (const Scenario *s = Scenarios; s->name != nullptr; ++s) {
        if (std::strcmp(s->name, name) == 0) {
            if (s->prepare != nullptr) {
                s->prepare();
            }
            int code = RunRuntime(GetModuleHandleA(nullptr), s->script);
            return s->finish != nullptr ? s->finish(code) : code;
        }
    }
    std::fprintf(stderr, "unknown scenario %s\n", name);
    return 99;
}

HANDLE StartChild(const char *name, const char *arguments) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string commandLine = std::string("\"") + path + "\" --scenario=" + name;
    if (arguments != nullptr && *arguments != '\0') {
        commandLine += std::string(" ") + arguments;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

int WaitChild(HANDLE process, DWORD timeoutMs) {
    if (process == nullptr) {
        return -1;
    }
    int result = -1;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        result = static_cast<int>(code);
    } else {
        TerminateProcess(process, 98);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return result;
}

int RunChild(const char *name, const char *arguments, DWORD timeoutMs) {
    return WaitChild(StartChild(name, arguments), timeoutMs);
}

namespace {
bool InProcess;
int FailedCheck;
} // namespace

int RunInProcess(const char *name, int &failedCheck) {
    InProcess = true;
    FailedCheck = 0;
    int code = RunScenarioByName(name);
    InProcess = false;
    failedCheck = FailedCheck;
    return code;
}

void Check(bool cond, int code, const char *what) {
    if (!cond && InProcess) {
        std::fprintf(stderr, "scenario check failed (%d): %s\n", code, what);
        FailedCheck = code;
        EndProgram();
    }
    if (!cond) {
        std::fprintf(stderr, "scenario check failed (%d): %s\n", code, what);
        std::fflush(stderr);
        ExitProcess(static_cast<UINT>(code));
    }
}

HWND OpenMainWindow() {
    std::uintptr_t *block = NewRequestBlock(4); // freed by the GUI thread
    block[0] = 10;
    block[1] = 10;
    block[2] = 300;
    block[3] = 200;
    PostRequestAndWait(GR_CREATE_MAIN_WINDOW, reinterpret_cast<LPARAM>(block));
    return MainWindow;
}

HWND CreateChild(const char *className, HWND parent, bool explicitId, int id, DWORD style) {
    std::uintptr_t *block = NewRequestBlock(CONTROL_BLOCK_WORDS);
    block[CB_EXPLICIT_ID] = explicitId ? 1 : 0;
    block[CB_STYLE] = style;
    block[CB_CLASS] = reinterpret_cast<std::uintptr_t>(className);
    block[CB_TEXT] = reinterpret_cast<std::uintptr_t>("x");
    block[CB_WIDTH] = 60;
    block[CB_HEIGHT] = 20;
    block[CB_PARENT] = reinterpret_cast<std::uintptr_t>(parent);
    block[CB_ID] = static_cast<std::uintptr_t>(id);
    block[CB_INSTANCE] = reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
    SendRequest(GR_CREATE_CONTROL, reinterpret_cast<LPARAM>(block));
    HWND created = reinterpret_cast<HWND>(block[CB_RESULT]);
    FreeRequestBlock(block);
    return created;
}
