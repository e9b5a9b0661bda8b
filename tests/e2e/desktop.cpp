#include "desktop.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <set>

namespace {

// A press or release lasts this long: long enough for the tool's 25 ms poll
// to see a key or button that is only tapped.
constexpr int TapHoldMs = 120;
// Longer than two of the tool's passes (25 ms pause plus its work) even on a
// busy machine.
constexpr int PointerSettleMs = 120;

void SendKey(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    switch (vk) {
    case VK_DELETE:
    case VK_APPS:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    if (up) {
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    SendInput(1, &input, sizeof input);
}

// Wine brings its key state in line with the X server's keyboard whenever one
// of its X windows gains the focus (a dialog appears or goes, a window is
// activated): a key that is down for Wine but up in the X server is let go.
// Keys pressed through SendInput are never down in the X server, so such a
// sync lets go of a key the test still holds, and the tool rightly stops
// seeing it, while a user's finger would still be on the key. A hold that
// waits for the key's effect therefore presses the key again when it finds it
// let go: to the tool that is a fresh press, which is what the hold is for.
void PressAgainIfLetGo(std::initializer_list<WORD> keys) {
    for (WORD vk : keys) {
        if ((GetAsyncKeyState(vk) & 0x8000) == 0) {
            std::fprintf(stderr, "desktop: held key %#x was let go by a key state sync; pressing it again\n",
                         vk);
            SendKey(vk, false);
        }
    }
}

// Waits for effect while holding keys (already pressed, in order).
bool WaitHolding(std::initializer_list<WORD> keys, const std::function<bool()> &effect, int timeoutMs) {
    return WaitUntil(
        [&] {
            if (effect()) {
                return true;
            }
            PressAgainIfLetGo(keys);
            return false;
        },
        timeoutMs);
}

// Where the last MoveMouse put the pointer: the place the user's hand is.
POINT Intended = {-1, -1};

// One mouse event at absolute screen point at.
void SendMouseAt(POINT at, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// Moves the pointer back to at after it was found elsewhere. Wine moves the X
// server's pointer for a SendInput move only when the move changes the
// position Wine has on record; when the X pointer went back after a move,
// Wine's record may still say at, so a plain move there again would move
// nothing (and Wine reads the X pointer again once its record is 100 ms
// old). A pixel aside first makes both moves real.
void PutPointerBack(POINT at) {
    SendMouseAt(POINT{at.x > 0 ? at.x - 1 : at.x + 1, at.y}, 0);
    SendMouseAt(at, 0);
}

// A button event where the pointer was put. Another Wine process that is
// slow to read its X events may still move the pointer back to where an
// earlier move had taken it, even between a check of the pointer and the
// press; a bare button event would then land there (a click beside the
// button, a row of another list). So every press and release carries the
// position itself.
void SendMouse(DWORD flags) {
    if (Intended.x < 0) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof input);
        return;
    }
    POINT at = {};
    GetCursorPos(&at);
    if (at.x != Intended.x || at.y != Intended.y) {
        std::fprintf(stderr, "desktop: the pointer was at %ld,%ld instead of %ld,%ld for a button\n", at.x,
                     at.y, Intended.x, Intended.y);
        PutPointerBack(Intended);
    }
    SendMouseAt(Intended, flags);
}

struct WindowQuery {
    DWORD pid;
    std::string className;
    std::string title;
    std::vector<HWND> found;
};

std::string CaptionOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool Matches(HWND window, const std::string &className, const std::string &text) {
    return (className.empty() || lstrcmpiA(ClassOf(window).c_str(), className.c_str()) == 0) &&
           (text.empty() || CaptionOf(window) == text);
}

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    auto *query = reinterpret_cast<WindowQuery *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((query->pid == 0 || pid == query->pid) && IsWindowVisible(window) &&
        Matches(window, query->className, query->title)) {
        query->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto *query = reinterpret_cast<WindowQuery *>(param);
    if (Matches(window, query->className, query->title)) {
        query->found.push_back(window);
    }
    return TRUE;
}

} // namespace

bool WaitUntil(const std::function<bool()> &condition, int timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) {
            return condition();
        }
        Sleep(10);
    }
}

void Pause(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

void PressKey(WORD vk) {
    SendKey(vk, false);
}

void ReleaseKey(WORD vk) {
    SendKey(vk, true);
}

void TapKey(WORD vk) {
    PressKey(vk);
    Sleep(TapHoldMs);
    ReleaseKey(vk);
    Sleep(30);
}

bool HoldKeyUntil(WORD vk, const std::function<bool()> &effect, int timeoutMs) {
    PressKey(vk);
    bool seen = WaitHolding({vk}, effect, timeoutMs);
    ReleaseKey(vk);
    Sleep(30);
    return seen;
}

bool HoldChordUntil(WORD modifier, WORD vk, const std::function<bool()> &effect, int timeoutMs) {
    PressKey(modifier);
    Sleep(20);
    PressKey(vk);
    bool seen = WaitHolding({modifier, vk}, effect, timeoutMs);
    ReleaseKey(vk);
    Sleep(20);
    ReleaseKey(modifier);
    Sleep(30);
    return seen;
}

void TypeText(const std::string &text) {
    for (char c : text) {
        SHORT code = VkKeyScanA(c);
        WORD vk = LOBYTE(code);
        bool shift = (HIBYTE(code) & 1) != 0;
        if (shift) {
            PressKey(VK_SHIFT);
        }
        PressKey(vk);
        Sleep(15);
        ReleaseKey(vk);
        if (shift) {
            ReleaseKey(VK_SHIFT);
        }
        Sleep(15);
    }
}

void MoveMouse(int x, int y) {
    auto there = [x, y] {
        POINT at;
        GetCursorPos(&at);
        return at.x == x && at.y == y;
    };
    // A Wine process that reads its X events late (the tool's GUI thread
    // sleeps through part of every pass) can put the pointer back where an
    // earlier move had taken it. So the pointer must stay put for longer than
    // two of the tool's passes, during which the tool also reads the new
    // position; otherwise the move is made again.
    Intended = POINT{x, y};
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt == 0) {
            SendMouseAt(Intended, 0);
        } else {
            PutPointerBack(Intended);
        }
        if (WaitUntil(there, 500)) {
            Sleep(PointerSettleMs);
            if (there()) {
                return;
            }
        }
        POINT now = {};
        GetCursorPos(&now);
        std::fprintf(stderr,
                     "desktop: the pointer left %d,%d again (it is at %ld,%ld); moving it once more\n", x, y,
                     now.x, now.y);
    }
}

void PressMouse(bool right) {
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
}

void ReleaseMouse(bool right) {
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void ClickAt(int x, int y, bool right) {
    MoveMouse(x, y);
    PressMouse(right);
    Sleep(TapHoldMs);
    ReleaseMouse(right);
    Sleep(30);
}

bool ClickAtUntil(int x, int y, const std::function<bool()> &effect, int timeoutMs) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        ClickAt(x, y);
        if (WaitUntil(effect, timeoutMs)) {
            return true;
        }
        std::fprintf(stderr, "desktop: click %d at %d,%d without effect\n", attempt + 1, x, y);
    }
    return false;
}

void ClickWindow(HWND window) {
    POINT centre = CentreOf(window);
    ClickAt(centre.x, centre.y);
}

bool HoldMouseUntil(int x, int y, bool right, const std::function<bool()> &effect, int timeoutMs) {
    MoveMouse(x, y);
    PressMouse(right);
    bool seen = WaitUntil(effect, timeoutMs);
    ReleaseMouse(right);
    Sleep(30);
    return seen;
}

std::string ClassOf(HWND window) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    // WM_GETTEXT rather than GetWindowText: an edit control of another
    // process keeps its text to itself.
    wchar_t wide[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    char text[1024] = {};
    WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

std::vector<HWND> TopWindows(DWORD pid, const std::string &className, const std::string &title) {
    WindowQuery query{pid, className, title, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND TopWindow(DWORD pid, const std::string &className, const std::string &title) {
    std::vector<HWND> found = TopWindows(pid, className, title);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> Children(HWND parent, const std::string &className, const std::string &text) {
    WindowQuery query{0, className, text, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND Child(HWND parent, const std::string &className, const std::string &text) {
    std::vector<HWND> found = Children(parent, className, text);
    return found.empty() ? nullptr : found.front();
}

std::vector<std::string> ListRows(HWND list) {
    // The tool may change a row between a test's LB_GETTEXTLEN and its
    // LB_GETTEXT, and LB_GETTEXT writes the row as it is then, without a
    // limit: a buffer sized by the first answer could be overrun, corrupting
    // the test program's heap. So every row is read into a buffer far larger
    // than any row of the tool; a row too long for it is read as empty.
    constexpr LRESULT BufferChars = 32768;
    std::vector<wchar_t> wide(static_cast<size_t>(BufferChars), L'\0');
    std::vector<std::string> rows;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0 || length >= BufferChars / 2) {
            rows.emplace_back();
            continue;
        }
        wide[0] = L'\0';
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
        wide[static_cast<size_t>(BufferChars) - 1] = L'\0';
        char text[1024] = {};
        WideCharToMultiByte(1252, 0, wide.data(), -1, text, sizeof text - 1, nullptr, nullptr);
        rows.emplace_back(text);
    }
    return rows;
}

int ListSelection(HWND list) {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

std::string StaticTexts(HWND window) {
    std::string joined;
    for (HWND child : Children(window, "Static")) {
        std::string text = TextOf(child);
        if (!text.empty()) {
            joined += (joined.empty() ? "" : "|") + text;
        }
    }
    return joined;
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

POINT CentreOf(HWND window) {
    RECT rect = WindowRect(window);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

namespace {

// The bytes of one 24-bit DIB row, padded to four bytes.
DWORD RowBytes(LONG width) {
    return ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
}

// The screen area of rect as the rows of a 24-bit bottom-up DIB (each row
// padded to four bytes, as BMP files store them); empty when it cannot be read.
std::vector<BYTE> CaptureScreen(const RECT &rect, BITMAPINFOHEADER &header) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    std::vector<BYTE> pixels;
    if (width <= 0 || height <= 0) {
        return pixels;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const BYTE *first = static_cast<const BYTE *>(bits);
        pixels.assign(first, first + RowBytes(width) * static_cast<DWORD>(height));
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    header = info.bmiHeader;
    return pixels;
}

} // namespace

bool SaveScreenshot(const RECT &rect, const std::string &path) {
    BITMAPINFOHEADER info = {};
    std::vector<BYTE> pixels = CaptureScreen(rect, info);
    if (pixels.empty()) {
        return false;
    }
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                 std::fwrite(&info, sizeof info, 1, file) == 1 &&
                 std::fwrite(pixels.data(), pixels.size(), 1, file) == 1;
    return (std::fclose(file) == 0) && saved;
}

int ColoursIn(const RECT &rect) {
    BITMAPINFOHEADER info = {};
    std::vector<BYTE> pixels = CaptureScreen(rect, info);
    if (pixels.empty()) {
        return 0;
    }
    std::set<DWORD> colours;
    for (LONG y = 0; y < info.biHeight; ++y) {
        const BYTE *row = pixels.data() + RowBytes(info.biWidth) * static_cast<DWORD>(y);
        for (LONG x = 0; x < info.biWidth; ++x) {
            const BYTE *p = row + 3 * x;
            colours.insert(static_cast<DWORD>(p[0] | (p[1] << 8) | (p[2] << 16)));
        }
    }
    return static_cast<int>(colours.size());
}
