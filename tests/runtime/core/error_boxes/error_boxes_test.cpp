// The runtime error boxes as the user sees them: each scenario runs a report on
// a real script thread (RunRuntime), while a watcher thread finds every box,
// reads its caption, text, icon and buttons, and answers it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    HICON icon;
    bool hasOk;
    bool hasCancel;
    HWND owner;
};

// One scenario; written before RunRuntime, read by the script and the watcher.
struct Scenario {
    std::int32_t level = 1;
    bool fatal = false;
    std::int32_t number = 0;
    const char *detail = nullptr;
    bool withMainWindow = false;
    std::vector<int> answers; // one per box, in order (IDOK or IDCANCEL)
    // Results.
    std::vector<SeenBox> boxes;
    bool continued = false;
    std::int32_t kindAfter = -1;
    HWND mainWindow = nullptr;
};

Scenario Current;
volatile LONG WatcherStop = 0;

// Script side: optionally a top-level window as the main window, then the report.
void ScenarioScript() {
    if (Current.withMainWindow) {
        std::uintptr_t *block = NewRequestBlock(CONTROL_BLOCK_WORDS);
        block[CB_EXPLICIT_ID] = 1;
        block[CB_STYLE] = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        block[CB_CLASS] = reinterpret_cast<std::uintptr_t>("STATIC");
        block[CB_TEXT] = reinterpret_cast<std::uintptr_t>("owner");
        block[CB_WIDTH] = 200;
        block[CB_HEIGHT] = 100;
        block[CB_INSTANCE] = reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
        SendRequest(GR_CREATE_CONTROL, reinterpret_cast<LPARAM>(block));
        Current.mainWindow = reinterpret_cast<HWND>(block[CB_RESULT]);
        FreeRequestBlock(block);
        MainWindow = Current.mainWindow;
    }
    ErrorLevel = Current.level;
    if (Current.fatal)
        RaiseFatal(Current.number, Current.detail);
    else
        RaiseNonFatal(Current.number, Current.detail);
    Current.continued = true;
    Current.kindAfter = TakeErrorKind();
    EndProgram();
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM icon) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HICON *>(icon) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

bool ButtonShown(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button && IsWindowVisible(button);
}

// Watcher: reads and answers each box in turn until told to stop.
DWORD WINAPI WatchBoxes(void *) {
    while (!WatcherStop) {
        HWND box = nullptr;
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
        if (!box) {
            Sleep(10);
            continue;
        }
        Sleep(50); // let the box finish its initialisation
        SeenBox seen{};
        char buffer[512] = {};
        GetWindowTextA(box, buffer, sizeof buffer);
        seen.caption = buffer;
        buffer[0] = '\0';
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        seen.text = buffer;
        EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
        seen.hasOk = ButtonShown(box, IDOK);
        seen.hasCancel = ButtonShown(box, IDCANCEL);
        seen.owner = GetWindow(box, GW_OWNER);
        std::size_t index = Current.boxes.size();
        Current.boxes.push_back(seen);
        int answer = index < Current.answers.size() ? Current.answers[index] : IDOK;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        for (int i = 0; i < 500 && IsWindow(box); ++i)
            Sleep(10);
    }
    return 0;
}

// Runs the scenario to its end and returns the process-style exit code.
int RunScenario() {
    InterlockedExchange(&WatcherStop, 0);
    HANDLE watcher = CreateThread(nullptr, 0, WatchBoxes, nullptr, 0, nullptr);
    int code = RunRuntime(GetModuleHandleA(nullptr), ScenarioScript);
    InterlockedExchange(&WatcherStop, 1);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    return code;
}

const char kBoxText[] = "Zeilennummer nicht verf\xFCgbar.";

HICON SystemIcon(LPCSTR id) {
    return LoadIconA(nullptr, id);
}

class ErrorBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        Current = Scenario();
        // The icon checks below only mean something if the two icons differ.
        ASSERT_NE(SystemIcon(IDI_HAND), nullptr);
        ASSERT_NE(SystemIcon(IDI_HAND), SystemIcon(IDI_EXCLAMATION));
    }
};

TEST_F(ErrorBoxes, WarningAnsweredOkLetsTheOperationContinue) {
    Current.level = 1;
    Current.number = 209;
    Current.detail = "C:\\Plugins\\*.SRC";
    Current.answers = {IDOK};
    EXPECT_EQ(RunScenario(), 0);
    ASSERT_EQ(Current.boxes.size(), 1u);
    const SeenBox &box = Current.boxes[0];
    EXPECT_EQ(box.caption, "Datei nicht gefunden: C:\\Plugins\\*.SRC");
    EXPECT_EQ(box.text, kBoxText);
    EXPECT_EQ(box.icon, SystemIcon(IDI_EXCLAMATION));
    EXPECT_TRUE(box.hasOk);
    EXPECT_TRUE(box.hasCancel);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(Current.continued);
    EXPECT_EQ(Current.kindAfter, 1);
}

TEST_F(ErrorBoxes, WarningAnsweredCancelShowsTheAbortBoxAndEnds) {
    Current.level = 1;
    Current.number = 223;
    Current.answers = {IDCANCEL, IDOK};
    EXPECT_EQ(RunScenario(), 0);
    ASSERT_EQ(Current.boxes.size(), 2u);
    EXPECT_EQ(Current.boxes[0].caption, "Negative Fenstergr\xF6\xDF"
                                        "e!");
    EXPECT_TRUE(Current.boxes[0].hasCancel);
    const SeenBox &abort = Current.boxes[1];
    EXPECT_EQ(abort.caption, "Programm abgebrochen!");
    EXPECT_EQ(abort.text, kBoxText);
    EXPECT_EQ(abort.icon, SystemIcon(IDI_HAND));
    EXPECT_TRUE(abort.hasOk);
    EXPECT_FALSE(abort.hasCancel);
    EXPECT_FALSE(Current.continued);
}

TEST_F(ErrorBoxes, FatalReportShowsOneErrorBoxAndEnds) {
    Current.level = 0;
    Current.fatal = true;
    Current.number = 247;
    Current.detail = "missing.dll";
    EXPECT_EQ(RunScenario(), 0);
    ASSERT_EQ(Current.boxes.size(), 1u);
    const SeenBox &box = Current.boxes[0];
    EXPECT_EQ(box.caption, "Fehler beim Laden der DLL: missing.dll");
    EXPECT_EQ(box.text, kBoxText);
    EXPECT_EQ(box.icon, SystemIcon(IDI_HAND));
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
    EXPECT_FALSE(Current.continued);
}

TEST_F(ErrorBoxes, SilentLevelsShowNothing) {
    Current.level = -1;
    Current.fatal = true;
    Current.number = 210;
    EXPECT_EQ(RunScenario(), 0);
    EXPECT_TRUE(Current.boxes.empty());
    EXPECT_TRUE(Current.continued);
    EXPECT_EQ(Current.kindAfter, 2);
}

TEST_F(ErrorBoxes, BoxesAreOwnedByTheMainWindow) {
    Current.withMainWindow = true;
    Current.level = 2;
    Current.number = 228;
    Current.detail = "logo.bmp";
    EXPECT_EQ(RunScenario(), 0);
    ASSERT_NE(Current.mainWindow, nullptr);
    ASSERT_EQ(Current.boxes.size(), 1u);
    EXPECT_EQ(Current.boxes[0].caption, "Bitmap nicht ladbar: logo.bmp");
    EXPECT_EQ(Current.boxes[0].icon, SystemIcon(IDI_HAND));
    EXPECT_EQ(Current.boxes[0].owner, Current.mainWindow);
    EXPECT_FALSE(Current.continued);
    DestroyWindow(Current.mainWindow); // created on this thread, the GUI thread of the run
}

} // namespace
