/* The benchmark's stopwatch: starts one program, watches its main window from
 * outside the process and prints what it measured, one "key value" pair a
 * line, for bench/run.py.
 *
 *   bench_probe MODE TITLE ROWS REPEAT HOLD PROGRAM
 *
 * Every mode starts PROGRAM (CreateProcessA, the clock starts just before)
 * and waits until the window titled TITLE is on screen and, when ROWS > 0,
 * its visible list box holds ROWS rows with one selected: "start_ms".
 * It then prints the program's peak working set ("peak_kb") and:
 *   start    - nothing more;
 *   refresh  - REPEAT times: clears the selection, waits, clicks "  Refresh List"
 *              (a WM_COMMAND as the button sends it) and waits for ROWS rows
 *              with one selected again: "refresh_ms";
 *   sort     - REPEAT times: clicks "Sort Search Plugins!" and waits for the
 *              message box "Message:", then closes it: "sort_ms";
 *   idle     - sends the window a message every 100 ms for a second, prints "ready" and sleeps HOLD
 *              seconds without touching it (bench/run.py reads /proc then).
 * Finally it closes the window (WM_CLOSE) and waits for the program's end. */
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static LARGE_INTEGER Frequency;

static double NowMs(void) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1000.0 / (double)Frequency.QuadPart;
}

static void Fail(const char *what) {
    printf("error %s\n", what);
    fflush(stdout);
    ExitProcess(1);
}

struct ListSearch {
    HWND list;
};

/* The list box with a visible area (the tool's second list is 0 x 0). */
static BOOL CALLBACK FindList(HWND child, LPARAM param) {
    char cls[32];
    RECT r;
    GetClassNameA(child, cls, sizeof cls);
    GetWindowRect(child, &r);
    if (_stricmp(cls, "ListBox") == 0 && r.right > r.left) {
        ((struct ListSearch *)param)->list = child;
        return FALSE;
    }
    return TRUE;
}

static HWND VisibleList(HWND window) {
    struct ListSearch search = {NULL};
    EnumChildWindows(window, FindList, (LPARAM)&search);
    return search.list;
}

/* Waits (1 ms polls of the window, 8 ms ones of its list; at most limit ms)
 * until the window is on screen and its list holds rows rows with one
 * selected. */
static HWND WaitReady(const char *title, long rows, double limit, HWND known) {
    double start = NowMs();
    for (;;) {
        HWND window = known ? known : FindWindowA(NULL, title);
        if (window && IsWindowVisible(window)) {
            RECT r;
            GetWindowRect(window, &r);
            if (r.left < GetSystemMetrics(SM_CXSCREEN) && r.top < GetSystemMetrics(SM_CYSCREEN)) {
                HWND list;
                if (rows == 0)
                    return window;
                list = VisibleList(window);
                if (list && SendMessageA(list, LB_GETCOUNT, 0, 0) == rows &&
                    SendMessageA(list, LB_GETCURSEL, 0, 0) >= 0)
                    return window;
                /* Asking the list makes the program's window thread answer
                   (a program that is busy on that thread is not asked): every
                   8 ms instead of every 1 ms keeps that load small. */
                Sleep(7);
            }
        }
        if (NowMs() - start > limit)
            Fail("timeout");
        Sleep(1);
    }
}

static void Click(HWND window, const char *caption) {
    HWND button = FindWindowExA(window, NULL, "Button", caption);
    if (!button)
        Fail("button");
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

int main(int argc, char **argv) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    PROCESS_MEMORY_COUNTERS memory;
    const char *mode, *title;
    long rows, repeat, hold, i;
    double t0;
    HWND window;
    char command[2 * MAX_PATH];
    if (argc != 7)
        Fail("usage");
    mode = argv[1];
    title = argv[2];
    rows = atol(argv[3]);
    repeat = atol(argv[4]);
    hold = atol(argv[5]);
    snprintf(command, sizeof command, "\"%s\"", argv[6]);
    QueryPerformanceFrequency(&Frequency);
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(&memory, sizeof memory);
    memory.cb = sizeof memory;

    t0 = NowMs();
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        Fail("start");
    printf("pid %lu\n", (unsigned long)process.dwProcessId);
    window = WaitReady(title, rows, 120000, NULL);
    printf("start_ms %.1f\n", NowMs() - t0);
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        printf("peak_kb %lu\n", (unsigned long)(memory.PeakWorkingSetSize / 1024));
    fflush(stdout);

    if (strcmp(mode, "refresh") == 0) {
        HWND list = VisibleList(window);
        for (i = 0; i < repeat; ++i) {
            /* The selection is cleared well before the click: the program's
               answer to this message comes when its window thread is free,
               and a click sent right after it would always reach the tool at
               the same moment of its pass (just as its pause begins). A
               user's click comes at any moment: the clicks here are spread
               over a pass by 0, 5, ... 20 ms. */
            SendMessageA(list, LB_SETCURSEL, (WPARAM)-1, 0);
            Sleep(300 + (DWORD)(i * 5 % 25));
            t0 = NowMs();
            Click(window, "  Refresh List");
            WaitReady(title, rows, 120000, window);
            printf("refresh_ms %.1f\n", NowMs() - t0);
            fflush(stdout);
        }
    } else if (strcmp(mode, "sort") == 0) {
        for (i = 0; i < repeat; ++i) {
            HWND box = NULL;
            Sleep(300);
            t0 = NowMs();
            Click(window, "Sort Search Plugins!");
            while (!(box = FindWindowA("#32770", "Message:"))) {
                if (NowMs() - t0 > 300000)
                    Fail("timeout");
                Sleep(1);
            }
            printf("sort_ms %.1f\n", NowMs() - t0);
            fflush(stdout);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box))
                Sleep(5);
        }
    } else if (strcmp(mode, "idle") == 0) {
        /* The tool's first pass waits for a message that arrives after it
           started waiting: one every 100 ms for a second reaches it. */
        for (i = 0; i < 10; ++i) {
            PostMessageA(window, WM_NULL, 0, 0);
            Sleep(100);
        }
        printf("ready\n");
        fflush(stdout);
        Sleep((DWORD)hold * 1000);
    }

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    printf("done\n");
    fflush(stdout);
    return 0;
}
