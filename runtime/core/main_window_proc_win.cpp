// Window procedure of the main window (class "FENSTER").
#include "runtime/core/window_procs.h"

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/settings.h"
#include "runtime/core/window_rules.h"
#include "runtime/core/window_settings.h"

HDC WindowDC = nullptr;
HDC BackBuffer = nullptr;
HDC DrawingTarget = nullptr;
HBRUSH BackgroundBrush = nullptr;
HCURSOR volatile BusyPointer = nullptr;

namespace {

HBITMAP BackBufferBitmap = nullptr;
HGDIOBJ BackBufferFormerBitmap = nullptr;

void StoreDC(HDC volatile *target, HDC value) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(target), value);
}

// The back buffer: a screen-sized copy of the client area. Its first content
// is the screen under the client area, or white.
void CreateBackBuffer(HWND window) {
    HDC windowDC = GetDC(window); // CS_OWNDC: the window keeps this context
    HDC buffer = CreateCompatibleDC(windowDC);
    BackBufferBitmap = CreateCompatibleBitmap(windowDC, ScreenWidth, ScreenHeight);
    BackBufferFormerBitmap = SelectObject(buffer, BackBufferBitmap);
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    if (WindowStyleHas(WindowStyleScreenBackground)) {
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        BitBlt(buffer, 0, 0, ScreenWidth - origin.x, ScreenHeight - origin.y, screen, origin.x, origin.y,
               SRCCOPY);
        ReleaseDC(nullptr, screen);
    } else {
        RECT all = {0, 0, ScreenWidth, ScreenHeight};
        FillRect(buffer, &all, static_cast<HBRUSH>(white));
    }
    BackgroundBrush = static_cast<HBRUSH>(white);
    HGDIOBJ black = GetStockObject(BLACK_PEN);
    SelectObject(windowDC, white);
    SelectObject(windowDC, black);
    SelectObject(buffer, white);
    SelectObject(buffer, black);
    StoreDC(&WindowDC, windowDC);
    StoreDC(&BackBuffer, buffer);
    StoreDC(&DrawingTarget, windowDC);
}

void DeleteBackBuffer(HWND window) {
    HDC buffer = BackBuffer;
    HDC windowDC = WindowDC;
    StoreDC(&DrawingTarget, nullptr);
    StoreDC(&BackBuffer, nullptr);
    StoreDC(&WindowDC, nullptr);
    if (buffer) {
        SelectObject(buffer, BackBufferFormerBitmap);
        DeleteDC(buffer);
    }
    if (BackBufferBitmap)
        DeleteObject(BackBufferBitmap);
    BackBufferBitmap = nullptr;
    BackBufferFormerBitmap = nullptr;
    if (windowDC)
        ReleaseDC(window, windowDC);
}

void RecordClientSize(HWND window) {
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    StoreLong(&ClientWidth, client.right - client.left);
    StoreLong(&ClientHeight, client.bottom - client.top);
}

LRESULT OnCreate(HWND window) {
    StoreLong(&DialogMode, WindowStyleHas(WindowStyleDialog) ? 1 : 0);
    CreateBackBuffer(window);
    RecordClientSize(window);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    DeleteBackBuffer(window);
    // Stops the script thread, unwinds the fast loop and posts the quit.
    EndOnMainWindowDestroyed();
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (AutoPaint != 0) {
        const RECT &r = paint.rcPaint;
        if (BackBuffer)
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, BackBuffer, r.left, r.top, SRCCOPY);
        EndPaint(window, &paint);
    } else {
        EndPaint(window, &paint);
        StoreLong(&PaintedFlag, 1);
        SetInput();
    }
    return 0;
}

LRESULT OnEraseBackground(HDC dc) {
    if (AutoPaint == 0 && BackgroundBrush) {
        RECT area;
        if (GetClipBox(dc, &area) != ERROR)
            FillRect(dc, &area, BackgroundBrush);
    }
    return 0;
}

LRESULT OnClose(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!ConfirmClose(window))
        return 0;
    if (!WindowStyleHas(WindowStyleDialog))
        return DefWindowProcA(window, WM_CLOSE, wParam, lParam); // destroys the window
    SetFocus(window);
    StoreLong(&EventKind, 2);
    PulseInput();
    return 0;
}

LRESULT OnKeyDown(HWND window, WPARAM wParam) {
    StoreLong(&KeyDownFlag, 1);
    StoreLong(&KeyCode, LOWORD(wParam));
    if (WindowStyleHas(WindowStyleDialog))
        PulseInput();
    else
        PostMessageA(window, WM_CHAR, wParam, 0);
    return 0;
}

// A character from TranslateMessage (lParam not 0) only records the code; the
// runtime's own repost of the key (lParam 0) wakes the script.
LRESULT OnChar(WPARAM wParam, LPARAM lParam) {
    if (KeyDownFlag != 0) {
        if (lParam != 0) {
            StoreLong(&EventKind, LOWORD(wParam));
            StoreLong(&KeyDownFlag, 0);
            return 0;
        }
        if (wParam != VK_F1)
            StoreLong(&EventKind, 0);
    }
    PulseInput();
    StoreLong(&KeyDownFlag, 0);
    return 0;
}

LRESULT OnButtonDown(HWND window, LONG button, LPARAM lParam) {
    SetFocus(window);
    StoreLong(&LastMouseButton, button);
    StoreLong(&MouseButtonState, button);
    StoreLong(&MouseX, static_cast<SHORT>(LOWORD(lParam)));
    StoreLong(&MouseY, static_cast<SHORT>(HIWORD(lParam)));
    PulseInput();
    return 0;
}

// The row of a list box under a point of the main window's client area, as
// the list stands now; -1 when child is no list box or no row is there.
LONG ListRowAt(HWND child, HWND window, POINT point) {
    char name[16] = {};
    if (GetClassNameA(child, name, sizeof name) == 0 || lstrcmpiA(name, "ListBox") != 0)
        return -1;
    MapWindowPoints(window, child, &point, 1);
    LRESULT found = SendMessageA(child, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (found < 0 || HIWORD(found) != 0)
        return -1;
    RECT area = {};
    if (SendMessageA(child, LB_GETITEMRECT, LOWORD(found), reinterpret_cast<LPARAM>(&area)) == LB_ERR ||
        !PtInRect(&area, point))
        return -1;
    return LOWORD(found);
}

// Records a left press on a child: the child and its list row, then one more
// press. The row is read here, before the list box sees the press and starts
// to follow (and scroll with) the pointer.
void RecordChildPress(HWND window, LPARAM lParam) {
    POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    HWND child = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (child == window)
        child = nullptr;
    StoreWindow(&ChildPressWindow, child);
    StoreLong(&ChildPressRow, child != nullptr ? ListRowAt(child, window, point) : -1);
    InterlockedIncrement(&ChildPressCount);
}

// A child reports a click or similar. Edit fields and scroll bars report their
// own events, so clicks into them do not wake the script.
LRESULT OnParentNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    WORD event = LOWORD(wParam);
    if (event == WM_CREATE || event == WM_DESTROY)
        return 0;
    if (event == WM_LBUTTONDOWN)
        RecordChildPress(window, lParam);
    if (DialogMode != 0)
        return 0;
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return 0;
    HWND under = WindowFromPoint(cursor);
    char name[61] = "";
    if (under && GetClassNameA(under, name, sizeof name) > 0 &&
        (lstrcmpiA(name, "EDIT") == 0 || lstrcmpiA(name, "SCROLLBAR") == 0))
        return 0;
    PulseInput();
    return 0;
}

LRESULT OnExitSizeMove(HWND window, WPARAM wParam, LPARAM lParam) {
    if (EndSizeMove(window)) {
        StoreLong(&EventKind, 4);
        SetInput();
        Sleep(0);
    } else {
        WakeIfPainted();
    }
    return DefWindowProcA(window, WM_EXITSIZEMOVE, wParam, lParam);
}

LRESULT MainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_SIZE:
        if (wParam <= SIZE_MAXIMIZED) {
            StoreLong(&EventKind, 4);
            PulseInput();
        }
        break;
    case WM_ACTIVATE:
        if (DialogMode == 0)
            break;
        StoreWindow(&ActiveDialog, wParam != 0 ? window : nullptr);
        return 0;
    case WM_SETFOCUS:
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        return 0;
    case WM_KILLFOCUS:
        if (window == FocusWindow)
            StoreWindow(&FocusWindow, GetFocus());
        return 0;
    case WM_PAINT:
        return OnPaint(window);
    case WM_CLOSE:
        return OnClose(window, wParam, lParam);
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
        // Controls ask their parent first, so this covers them too.
        if (HCURSOR busy = BusyPointer) {
            SetCursor(busy);
            return TRUE;
        }
        break;
    case WM_MOUSEACTIVATE:
        SetFocus(window);
        return 0;
    case WM_NOTIFY:
        HandleNotify(window, wParam, lParam);
        return 0;
    case WM_HELP: {
        const HELPINFO *help = reinterpret_cast<const HELPINFO *>(lParam);
        if (help) {
            // The negated handle tells the script that help was asked for this item.
            std::uintptr_t item = reinterpret_cast<std::uintptr_t>(help->hItemHandle);
            StoreWindow(&FocusWindow, reinterpret_cast<HWND>(0 - item));
        }
        StoreLong(&EventKind, 5);
        PulseInput();
        return 0;
    }
    case WM_KEYDOWN:
        return OnKeyDown(window, wParam);
    case WM_CHAR:
        return OnChar(wParam, lParam);
    case WM_COMMAND:
        return HandleCommand(CommandWindow::Main, window, wParam, lParam, DefWindowProcA);
    case WM_TIMER:
        if (wParam == 1) {
            StoreLong(&TimerFlag, 1);
            PulseInput();
        }
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        HandleScroll(window, message, wParam, lParam, DefWindowProcA);
        return 0;
    case WM_LBUTTONDOWN:
        return OnButtonDown(window, 1, lParam);
    case WM_RBUTTONDOWN:
        return OnButtonDown(window, 2, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        StoreLong(&MouseButtonState, 0);
        return 0;
    case WM_MBUTTONDOWN:
        SetFocus(window);
        PulseInput();
        return 0;
    case WM_PARENTNOTIFY:
        return OnParentNotify(window, wParam, lParam);
    case WM_ENTERSIZEMOVE:
        BeginSizeMove(window);
        break;
    case WM_EXITSIZEMOVE:
        return OnExitSizeMove(window, wParam, lParam);
    case 996:
        StoreWord(&Message996Value, static_cast<LONG_PTR>(wParam));
        return 0;
    case DM_GETDEFID:
        HandleEnterKey(window, true);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CaptureOrRecord(window, message, wParam, lParam))
        return static_cast<LRESULT>(message);
    return MainWindowMessage(window, message, wParam, lParam);
}
