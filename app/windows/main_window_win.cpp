// Start-up of the application and its main window.
#include <windows.h>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/location.h"
#include "app/catalogue/progress.h"
#include "app/windows/event_loop.h"
#include "app/windows/main_window.h"
#include "app/windows/version.h"
#include "app/windows/web_addresses.h"
#include "runtime/core/drive_dir.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/system/library_call.h"
#include "runtime/window/controls.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"
#include "runtime/window/window_services.h"

HWND HintText = nullptr;
HWND MoveUpButton = nullptr;
HWND MoveDownButton = nullptr;
HWND RefreshButton = nullptr;
HWND ShowHiddenButton = nullptr;
HWND AddPluginButton = nullptr;
HWND OpenFolderButton = nullptr;
HWND SortButton = nullptr;
HWND OrigNamesButton = nullptr;
HWND HelpButton = nullptr;
HWND GroupFrame = nullptr;
HWND CreditText = nullptr;
HWND SeparatorLine = nullptr;

HFONT CreditFont = nullptr;
HFONT NormalFont = nullptr;
HFONT BoldFont = nullptr;

std::int32_t CaptionHeight = 0;
std::int32_t FrameWidth = 0;
std::int32_t HeightExtra = 0;
std::int32_t WidthExtra = 0;
std::int32_t ClientTopOffset = 0;
std::int32_t ClientLeftOffset = 0;
std::int32_t MainWidth = 0;
std::int32_t MainHeight = 0;

std::int32_t RowTotal = 0;
std::int32_t UpDisabled = 0;
std::int32_t DownDisabled = 0;
std::uint32_t StartTick = 0;

namespace {

std::int32_t SystemMetric(std::uintptr_t index) {
    return static_cast<std::int32_t>(CallLibrary("user32", "GetSystemMetrics", {index}));
}

// A control by explicit class, with the automatic id and the program's instance.
HWND Control(const char *className, const char *text, std::uint32_t style, std::uint32_t exStyle, int x,
             int y, int width, int height) {
    return CreateControl(className, text, style, x, y, width, height, MainWindow, 0, Instance, exStyle);
}

HWND Keyword(const char *keyword, const char *text, int x, int y, int width, int height) {
    return CreateByKeyword(keyword, MainWindow, text, x, y, width, height);
}

void SetFont(HWND control, HFONT font) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

void CreateControls() {
    HintText = Control("STATIC", "Use the right-click menu to delete, edit, rename or hide plugins.",
                       0x5C000100, 0, 9, 218, 230, 40);
    NameList = Control("LISTBOX", "", 0x54211141, 0x200, 500, 500, 0, 0);
    MainList = Control("LISTBOX", "", 0x54211141, 0x200, 15, 25, 300, 170);
    MoveUpButton = Keyword("button", "Move Up", 327, 27, 100, 24);
    MoveDownButton = Keyword("button", "Move Down", 327, 62, 100, 24);
    RefreshButton = Control("BUTTON", "  Refresh List", 0x54010100, 0, 327, 105, 100, 20);
    ShowHiddenButton = Control("BUTTON", "  Show Hidden...", 0x54010100, 0, 327, 128, 100, 20);
    AddPluginButton = Control("BUTTON", "  Add Plugin...", 0x54010100, 0, 327, 151, 100, 20);
    OpenFolderButton = Control("BUTTON", "  Open Folder...", 0x54010100, 0, 327, 174, 100, 20);
    SortButton = Keyword("button", "Sort Search Plugins!", 5, 260, 140, 30);
    if (RenameMethod == 1) {
        OrigNamesButton = Keyword("button", "Orig. Filenames", 150, 260, 85, 30);
    }
    HelpButton = Control("BUTTON", "?", 0x54010000, 0x20000, 5, 303, 23, 21);
    GroupFrame = Keyword("GroupBox", "Search Engine Order", 5, 5, 434, 200);
    CreditText = Keyword("Text", CreditLine, 290, 307, 200, 16);
    SeparatorLine = Control("STATIC", "", 0x54000130, 0, 3, 298, 441, 2);

    for (HWND control : {HintText, MainList, MoveUpButton, MoveDownButton, RefreshButton, ShowHiddenButton,
                         AddPluginButton, OpenFolderButton, HelpButton}) {
        SetFont(control, NormalFont);
    }
    if (OrigNamesButton != nullptr) {
        SetFont(OrigNamesButton, NormalFont);
    }
    SetFont(SortButton, BoldFont);
    SetFont(GroupFrame, BoldFont);
    SetFont(CreditText, CreditFont);
}

} // namespace

void StartMainWindow() {
    AllocateAreas();
    IconExtensions = ".png#.gif#.jpg#.jpeg#.jpe#.ico#.bmp";
    CreditFont = NewFont("Tahoma", 13, 0, 0, 0, 1);
    NormalFont = NewFont("Tahoma", 13, 0, 0, 0, 0);
    BoldFont = NewFont("Tahoma", 13, 0, 1, 0, 0);
    SetUserMessages(2, WM_CLOSE, WM_COMMAND);

    LocateBrowser();

    CaptionHeight = SystemMetric(SM_CYCAPTION);
    FrameWidth = SystemMetric(SM_CXFRAME);
    HeightExtra = CaptionHeight + FrameWidth - 42;
    WidthExtra = FrameWidth - 4;
    ClientTopOffset = CaptionHeight + FrameWidth;
    ClientLeftOffset = FrameWidth;
    MainWidth = WidthExtra + 450;
    MainHeight = HeightExtra + 370;

    SetWindowTitle("Quillsort " QS_SHORT_VERSION);
    SetWindowStyle(538);
    OpenWindow(ScreenWidth, ScreenHeight, MainWidth, MainHeight);
    SetTrueColor(1);
    ClearWindow(static_cast<std::uint32_t>(CallLibrary("user32", "GetSysColor", {COLOR_BTNFACE})));

    StartDirectory = DriveDirectory("@");
    // The controls are made with the window's drawing off and then painted
    // together once: otherwise the GUI thread paints the window between any
    // two of the script's requests, once for every control and every font.
    // Drawing is on again before the load, whose boxes need a visible owner
    // to hand the activation back to.
    const std::uintptr_t window = reinterpret_cast<std::uintptr_t>(MainWindow);
    const std::uintptr_t everything = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;
    CallLibrary("user32", "SendMessageA", {window, WM_SETREDRAW, FALSE, 0});
    CreateControls();
    BatchedCall drawn[2] = {{"user32", "SendMessageA", 4, {window, WM_SETREDRAW, TRUE, 0}, 0},
                            {"user32", "RedrawWindow", 4, {window, 0, 0, everything}, 0}};
    CallLibraryBatch(drawn, 2);

    CatalogueLoaded = UpdateMoveButtons;
    ProgressLine = HintText;
    LoadCatalogue(MainList, NameList, -1, "*.SRC");

    // Centred; raised as topmost and released again so it comes to the front
    // without staying on top.
    std::int32_t x = static_cast<std::int32_t>(ScreenWidth * 0.5 - MainWidth * 0.5);
    std::int32_t y = static_cast<std::int32_t>(ScreenHeight * 0.5 - MainHeight * 0.5);
    SetPosition(MainWindow, x, y, MainWidth, MainHeight, -1);
    SetPosition(MainWindow, x, y, MainWidth, MainHeight, -2);

    DrawBitmap(Instance, "FIREFOX", 245, 215, -1);

    StartTick = static_cast<std::uint32_t>(CallLibrary("kernel32", "GetTickCount"));
    EnterLatch = 1;
}

void ScriptMain() {
    StartMainWindow();
    RunEventLoop();
}

void UpdateMoveButtons() {
    // The selection and the row count are read together, in one hand-over to
    // the GUI thread: this runs at the top of every pass.
    const std::uintptr_t list = reinterpret_cast<std::uintptr_t>(MainList);
    BatchedCall reads[2] = {{"user32", "SendMessageA", 4, {list, LB_GETCURSEL, 0, 0}, 0},
                            {"user32", "SendMessageA", 4, {list, LB_GETCOUNT, 0, 0}, 0}};
    CallLibraryBatch(reads, 2);
    std::int32_t sel = static_cast<std::int32_t>(reads[0].result);
    Selection = sel;
    if (sel == 0 && UpDisabled == 0) {
        EnableControl(MoveUpButton, 0);
        UpDisabled = 1;
    } else if (sel > 0 && UpDisabled == 1) {
        EnableControl(MoveUpButton, 1);
        UpDisabled = 0;
    }
    std::int32_t count = static_cast<std::int32_t>(reads[1].result);
    RowTotal = count;
    if (sel == count - 1 && DownDisabled == 0) {
        EnableControl(MoveDownButton, 0);
        DownDisabled = 1;
    } else if (sel < count - 1 && DownDisabled == 1) {
        EnableControl(MoveDownButton, 1);
        DownDisabled = 0;
    }
}

void FlushInput() {
    CallLibrary("user32", "SetTimer", {reinterpret_cast<std::uintptr_t>(MainWindow), 1, 1, 0});
    WaitInput();
    CallLibrary("user32", "KillTimer", {reinterpret_cast<std::uintptr_t>(MainWindow), 1});
}
