// The About window.
#include <windows.h>

#include "app/catalogue/catalogue_state.h"
#include "app/windows/about_window.h"
#include "app/windows/about_window_rules.h"
#include "app/windows/input.h"
#include "app/windows/main_window.h"
#include "app/windows/version.h"
#include "app/windows/web_addresses.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/memory_areas.h"
#include "runtime/core/settings.h"
#include "runtime/core/strings.h"
#include "runtime/system/library_call.h"
#include "runtime/system/shell.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_ops.h"
#include "runtime/window/window_services.h"

std::int32_t AboutWindowOpen = 0;
HWND AboutWindow = nullptr;
HWND InfoList = nullptr;
HWND WebsiteButton = nullptr;
HWND AboutOkButton = nullptr;

namespace {

constexpr std::int32_t BannerId = 31000;
constexpr std::int32_t EscapeKey = 27;

HWND Control(const char *className, std::uint32_t style, std::uint32_t exStyle, int x, int y, int width,
             int height) {
    return CreateControl(className, "", style, x, y, width, height, AboutWindow, 0, Instance, exStyle);
}

HWND Keyword(const char *keyword, const char *text, int x, int y, int width, int height) {
    return CreateByKeyword(keyword, AboutWindow, text, x, y, width, height);
}

void SetFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

std::uintptr_t Word(const void *p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

} // namespace

void FillInfoText() {
    for (int row = 0; row < InfoTextRowCount(); ++row) {
        SendMessageA(InfoList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(InfoTextRow(row)));
    }
}

HWND ShowBitmap(const StringValue &name, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, HWND parent) {
    StringValue upper = StrUpper(name);
    char *area = nullptr;
    DimArea(&area, StrLength(upper) + 1);
    for (std::uint32_t i = 0; i < upper.length; ++i) {
        area[i] = upper.data[i];
    }
    std::uintptr_t bitmap = static_cast<std::uintptr_t>(
        CallLibrary("user32", "LoadImageA",
                    {Word(Instance), Word(area), IMAGE_BITMAP, static_cast<std::uintptr_t>(width),
                     static_cast<std::uintptr_t>(height), LR_LOADMAP3DCOLORS}));
    if (parent == nullptr) {
        parent = reinterpret_cast<HWND>(CallLibrary("user32", "GetForegroundWindow"));
    }
    HWND control =
        CreateControl("STATIC", "", 0x5400010E, x, y, width, height, parent, BannerId, Instance, 0);
    CallLibrary("user32", "SetWindowLongA",
                {Word(control), static_cast<std::uintptr_t>(GWL_EXSTYLE), WS_EX_TRANSPARENT});
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(bitmap));
    DisposeArea(&area);
    return control;
}

void ShowAboutWindow() {
    FlushInput();
    AboutWindowOpen = 1;
    SetWindowStyle(18);
    AboutWindow = OpenDialogWindow(MainWindow, "About...", ScreenWidth, ScreenHeight, 100, 100);

    Control("STATIC", 0x54000130, 0, 9, 245, 380, 4);
    Control("STATIC", 0x54000130, 0, 87, 55, 302, 4);
    Control("STATIC", 0x54000130, 0, 87, 172, 302, 4);
    InfoList = Control("LISTBOX", 0x54210141, 0x200, 87, 72, 295, 85);
    HWND title = Keyword("text", "Quillsort", 87, 15, 190, 14);
    FillInfoText();
    HWND version = Keyword("text", "(v. " QS_SHORT_VERSION ")", 323, 15, 100, 14);
    HWND credit = Keyword("text", CreditLine, 87, 35, 280, 14);
    HWND linkLabel = Keyword("text", "Internet:", 87, 188, 55, 14);
    HWND terms = Keyword("text", "", 87, 218, 300, 16);
    HWND bannerFrame = Control("STATIC", 0x54000100, 0x20000, 9, 8, 70, 229);
    ShowBitmap("INFO", 0, 0, 68, 227, bannerFrame);
    WebsiteButton = Keyword("button", "Visit my website!", 140, 184, 110, 20);
    AboutOkButton = Keyword("button", "OK", 300, 255, 80, 22);

    SetFont(WebsiteButton, NormalFont);
    SetFont(title, BoldFont);
    SetFont(version, NormalFont);
    SetFont(credit, NormalFont);
    SetFont(linkLabel, NormalFont);
    SetFont(terms, NormalFont);
    SetFont(InfoList, NormalFont);
    SetFont(AboutOkButton, BoldFont);

    std::int32_t x = static_cast<std::int32_t>(ScreenWidth * 0.5 - 200);
    std::int32_t y = static_cast<std::int32_t>(ScreenHeight * 0.5 - 165);
    SetPosition(AboutWindow, x, y, WidthExtra + 400, HeightExtra + 330, 0);
}

void HandleAboutEvents() {
    if (Clicked(WebsiteButton)) {
        ShellOpen(MakerHomePage, "", 0);
        FlushInput();
        return;
    }
    bool escape = KeyDown(EscapeKey);
    HWND foreground = reinterpret_cast<HWND>(CallLibrary("user32", "GetForegroundWindow"));
    // Closing the window itself (Alt+F4) closes only the About window, like OK.
    if ((foreground == AboutWindow && escape) || Clicked(AboutOkButton) || TakeCloseRequest(AboutWindow)) {
        DestroyControl(AboutWindow);
        TakeCloseRequest(AboutWindow); // a close that came with OK is used up too
        AboutWindowOpen = 0;
        FlushInput();
        SetErrorLevel(-1);
        SetPosition(MainWindow, WindowLeft(), WindowTop(), WindowRight() - WindowLeft(),
                    WindowBottom() - WindowTop(), 0);
        SetErrorLevel(0);
        SetFocusTo(MainList);
        EnterLatch = 1;
    }
}
