/* Stand-in for the web browser and the shell's folder view in the end-to-end
   tests: appends its command line as one line to the file named by the
   environment variable QS_RECORD_FILE, then ends. Each start is one append of
   one whole line, so a reader never sees half a record. */
#include <windows.h>

#include <stdio.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char target[MAX_PATH];
    char text[4096];
    HANDLE file;
    DWORD written = 0;
    int length;
    int attempt;
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;

    if (GetEnvironmentVariableA("QS_RECORD_FILE", target, MAX_PATH) == 0)
        return 1;
    length = snprintf(text, sizeof text, "%s\r\n", GetCommandLineA());
    if (length < 0 || length >= (int)sizeof text)
        return 1;
    /* Another recorder may hold the file for a moment: retry briefly. */
    for (attempt = 0; attempt < 100; ++attempt) {
        file = CreateFileA(target, FILE_APPEND_DATA, 0, NULL, OPEN_ALWAYS, 0, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            WriteFile(file, text, (DWORD)length, &written, NULL);
            CloseHandle(file);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
