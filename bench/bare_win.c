/* The bare comparison program of the benchmark: one thread, no runtime, and
 * only user32, gdi32, kernel32 and advapi32. It does the work the tool does at
 * start and on its commands with plain Win32 calls: finds the browser through
 * the registry, reads the plugin folder's volume type, opens a window of the
 * same size with two list boxes and the same buttons, reads every *.SRC file
 * whole, cuts its shown name from the name= entry and adds one row to each
 * list with redraw off; "  Refresh List" loads again keeping the selection;
 * "Sort Search Plugins!" renames every plugin (and probes its icon) in list
 * order with a sort prefix, loads again and shows "Re-sort successfully
 * done!". */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#define WORK_SIZE 32768

static char PluginFolder[MAX_PATH];
static char WorkArea[WORK_SIZE + 1];
static HWND MainList, NameList, RefreshButton, SortButton;
static char PrefixLetter = 'A';

static void LocateBrowser(void) {
    HKEY key, main;
    char name[250] = "", section[400], folder[MAX_PATH] = "";
    DWORD index = 0, size = sizeof folder;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla\\Mozilla Firefox", 0, KEY_READ, &key) != 0)
        ExitProcess(2);
    while (RegEnumKeyA(key, index, name, sizeof name) == 0)
        ++index;
    if (index > 0)
        RegEnumKeyA(key, index - 1, name, sizeof name);
    snprintf(section, sizeof section, "%s\\Main", name);
    if (RegOpenKeyExA(key, section, 0, KEY_READ, &main) == 0) {
        RegQueryValueExA(main, "Install Directory", NULL, NULL, (BYTE *)folder, &size);
        RegCloseKey(main);
    }
    RegCloseKey(key);
    snprintf(PluginFolder, sizeof PluginFolder, "%s\\searchplugins", folder);
    {
        char root[4] = {folder[0], ':', '\\', 0}, volume[100], system[100];
        DWORD serial, length, flags;
        GetVolumeInformationA(root, volume, sizeof volume, &serial, &length, &flags, system, sizeof system);
    }
}

/* The text between the delimiters that follow the first name= entry. */
static int ShownName(const char *text, char *out, size_t room) {
    const char *p = text;
    for (; *p; ++p) {
        if (_strnicmp(p, "name", 4) == 0) {
            const char *q = p + 4;
            while (*q == ' ')
                ++q;
            if (*q != '=')
                continue;
            ++q;
            while (*q == ' ')
                ++q;
            if (*q == 0)
                return 0;
            {
                char delimiter = *q++;
                size_t n = 0;
                while (q[n] && q[n] != delimiter && n + 1 < room)
                    ++n;
                memcpy(out, q, n);
                out[n] = 0;
                return n > 0;
            }
        }
    }
    return 0;
}

static void LoadCatalogue(int selection) {
    WIN32_FIND_DATAA found;
    char mask[MAX_PATH + 8], path[2 * MAX_PATH], shown[256];
    HANDLE search;
    LRESULT count;
    SendMessageA(MainList, LB_RESETCONTENT, 0, 0);
    SendMessageA(NameList, LB_RESETCONTENT, 0, 0);
    SendMessageA(MainList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(NameList, WM_SETREDRAW, FALSE, 0);
    snprintf(mask, sizeof mask, "%s\\*.SRC", PluginFolder);
    search = FindFirstFileA(mask, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            HANDLE file;
            DWORD read = 0;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            snprintf(path, sizeof path, "%s\\%s", PluginFolder, found.cFileName);
            file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
            if (file == INVALID_HANDLE_VALUE)
                continue;
            ReadFile(file, WorkArea, WORK_SIZE, &read, NULL);
            CloseHandle(file);
            WorkArea[read] = 0;
            if (!ShownName(WorkArea, shown, sizeof shown))
                continue;
            SendMessageA(MainList, LB_ADDSTRING, 0, (LPARAM)shown);
            SendMessageA(NameList, LB_ADDSTRING, 0, (LPARAM)found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SendMessageA(NameList, WM_SETREDRAW, TRUE, 0);
    SendMessageA(MainList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(MainList, NULL, TRUE);
    count = SendMessageA(MainList, LB_GETCOUNT, 0, 0);
    SendMessageA(MainList, LB_SETCURSEL, (selection < count && selection != -1) ? (WPARAM)selection : 0, 0);
    SetFocus(MainList);
}

static void Resort(void) {
    static const char *const icons[] = {".gif", ".png", ".jpg", ".ico"};
    int count = (int)SendMessageA(NameList, LB_GETCOUNT, 0, 0), p, e;
    char file[MAX_PATH], from[2 * MAX_PATH], to[2 * MAX_PATH];
    PrefixLetter = PrefixLetter == 'Z' ? 'A' : PrefixLetter + 1;
    for (p = 0; p < count; ++p) {
        const char *original;
        SendMessageA(NameList, LB_GETTEXT, (WPARAM)p, (LPARAM)file);
        original = strstr(file, "##") ? strstr(file, "##") + 2 : file;
        /* The icon probe as the tool makes it: one search per extension. */
        for (e = 0; e < 4; ++e) {
            WIN32_FIND_DATAA probe;
            HANDLE found;
            size_t n = strlen(file);
            snprintf(from, sizeof from, "%s\\%.*s%s", PluginFolder, (int)(n - 4), file, icons[e]);
            found = FindFirstFileA(from, &probe);
            if (found != INVALID_HANDLE_VALUE) {
                FindClose(found);
                break;
            }
        }
        snprintf(from, sizeof from, "%s\\%s", PluginFolder, file);
        snprintf(to, sizeof to, "%s\\%c%04d##%s", PluginFolder, PrefixLetter, p, original);
        MoveFileA(from, to);
    }
    LoadCatalogue((int)SendMessageA(MainList, LB_GETCURSEL, 0, 0));
    MessageBoxA(NULL, "Re-sort successfully done!", "Message:", MB_ICONINFORMATION);
}

static HWND Control(HWND parent, const char *cls, const char *text, DWORD style, DWORD exStyle, int x, int y,
                    int w, int h) {
    static int id = 1000;
    HWND c = CreateWindowExA(exStyle, cls, text, style, x, y, w, h, parent, (HMENU)(INT_PTR)id++,
                             GetModuleHandleA(NULL), NULL);
    SendMessageA(c, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 1);
    return c;
}

static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if ((HWND)lParam == RefreshButton && HIWORD(wParam) == 0)
            LoadCatalogue((int)SendMessageA(MainList, LB_GETCURSEL, 0, 0));
        else if ((HWND)lParam == SortButton && HIWORD(wParam) == 0)
            Resort();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    WNDCLASSA wc = {0};
    HWND window;
    MSG message;
    int width = 450 + GetSystemMetrics(SM_CXFRAME) - 4;
    int height = 370 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME) - 42;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    (void)previous;
    (void)commandLine;
    (void)show;
    LocateBrowser();
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BAREBENCH";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "BAREBENCH", "Bare 1.0", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             sw, sh, width, height, NULL, NULL, instance, NULL);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Control(window, "STATIC", "Use the right-click menu to delete, edit, rename or hide plugins.", 0x5C000100, 0,
            9, 218, 230, 40);
    NameList = Control(window, "LISTBOX", "", 0x54211141, 0x200, 500, 500, 0, 0);
    MainList = Control(window, "LISTBOX", "", 0x54211141, 0x200, 15, 25, 300, 170);
    Control(window, "BUTTON", "Move Up", 0x50010000, 0, 327, 27, 100, 24);
    Control(window, "BUTTON", "Move Down", 0x50010000, 0, 327, 62, 100, 24);
    RefreshButton = Control(window, "BUTTON", "  Refresh List", 0x54010100, 0, 327, 105, 100, 20);
    Control(window, "BUTTON", "  Show Hidden...", 0x54010100, 0, 327, 128, 100, 20);
    Control(window, "BUTTON", "  Add Plugin...", 0x54010100, 0, 327, 151, 100, 20);
    Control(window, "BUTTON", "  Open Folder...", 0x54010100, 0, 327, 174, 100, 20);
    SortButton = Control(window, "BUTTON", "Sort Search Plugins!", 0x50010000, 0, 5, 260, 140, 30);
    Control(window, "BUTTON", "?", 0x54010000, 0x20000, 5, 303, 23, 21);
    Control(window, "BUTTON", "Search Engine Order", 0x50000007, 0, 5, 5, 434, 200);
    Control(window, "STATIC", "credits", 0x50000000, 0, 290, 307, 200, 16);
    Control(window, "STATIC", "", 0x54000130, 0, 3, 298, 441, 2);
    LoadCatalogue(-1);
    SetWindowPos(window, HWND_TOPMOST, sw / 2 - width / 2, sh / 2 - height / 2, width, height, 0);
    SetWindowPos(window, HWND_NOTOPMOST, sw / 2 - width / 2, sh / 2 - height / 2, width, height, 0);
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
