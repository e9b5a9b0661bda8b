/* Stand-in handler for the made-up file type and address scheme of the shell
   tests: writes its command line and the show mode it was started with to the
   file named by the environment variable QS_RECORD_FILE, then ends. The text
   is written to a side file first and renamed, so a reader never sees half. */
#include <windows.h>

#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char target[MAX_PATH];
    char side[MAX_PATH + 8];
    char text[4096];
    STARTUPINFOA startup;
    HANDLE file;
    DWORD written = 0;
    int length;
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;

    if (GetEnvironmentVariableA("QS_RECORD_FILE", target, MAX_PATH) == 0)
        return 1;
    GetStartupInfoA(&startup);
    length = snprintf(text, sizeof text, "%s\nshow=%d\n", GetCommandLineA(),
                      (startup.dwFlags & STARTF_USESHOWWINDOW) ? (int)startup.wShowWindow : -1);
    if (length < 0 || length >= (int)sizeof text)
        return 1;
    snprintf(side, sizeof side, "%s.part", target);
    file = CreateFileA(side, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    WriteFile(file, text, (DWORD)length, &written, NULL);
    CloseHandle(file);
    return MoveFileExA(side, target, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
