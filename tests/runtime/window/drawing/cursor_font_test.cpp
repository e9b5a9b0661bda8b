// Mouse pointers by number and fonts for controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "drawing_scenario.h"
#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/settings.h"
#include "runtime/window/controls.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

namespace {

HCURSOR ClassCursor() {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(MainWindow, GCLP_HCURSOR));
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description;
}

} // namespace

TEST(SetCursorShape, ProgramAndSystemCursorsAndTheMissingOnes) {
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "DRUCKER");
    ASSERT_NE(nullptr, hand);
    HCURSOR afterHand = nullptr, afterHandCurrent = nullptr, afterMissing = nullptr, afterCross = nullptr,
            afterInvalid = nullptr;
    std::int32_t errorNumber = 0, errorKind = 0;
    RunScenario([&] {
        OpenWindow(0, 0, 300, 200);
        SetCursorShape(11);
        afterHand = ClassCursor();
        afterHandCurrent = GetCursor();
        SetCursorShape(12); // "SCHIEBEN" is not shipped: nothing changes
        SetCursorShape(13);
        afterMissing = ClassCursor();
        SetCursorShape(3);
        afterCross = ClassCursor();
        SetErrorLevel(-1); // the fatal error is recorded, the program goes on
        TakeErrorKind();
        SetCursorShape(17);
        errorNumber = LastErrorNumber;
        errorKind = TakeErrorKind();
        SetCursorShape(-1);
        afterInvalid = ClassCursor();
    });
    EXPECT_EQ(hand, afterHand);
    EXPECT_EQ(hand, afterHandCurrent);
    EXPECT_EQ(hand, afterMissing);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_CROSS), afterCross);
    EXPECT_EQ(230, errorNumber);
    EXPECT_EQ(2, errorKind); // fatal
    EXPECT_EQ(afterCross, afterInvalid);
    EXPECT_STREQ("Cursor nicht vorhanden! (Nur 0..11)", ErrorText(230).c_str());
}

// The busy pointer shows over the main window and over its controls, whose
// own cursor is the arrow, until it ends; the class cursor stays as it was.
TEST(BusyPointer, CoversTheWindowAndItsControlsUntilItEnds) {
    HCURSOR overControl = nullptr, overWindow = nullptr, afterEnd = nullptr, classCursor = nullptr;
    LRESULT answered = FALSE;
    RunScenario([&] {
        OpenWindow(0, 0, 300, 200);
        HWND button = CreateControl("BUTTON", "x", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, MainWindow, 7,
                                    GetModuleHandleA(nullptr), 0);
        auto setCursor = [](HWND window) {
            return SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        };
        SetBusyPointer(2);
        answered = setCursor(button);
        overControl = GetCursor();
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        setCursor(MainWindow);
        overWindow = GetCursor();
        EndBusyPointer();
        setCursor(button);
        afterEnd = GetCursor();
        classCursor = ClassCursor();
    });
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    EXPECT_TRUE(answered);
    EXPECT_EQ(wait, overControl);
    EXPECT_EQ(wait, overWindow);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), afterEnd);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), classCursor);
}

TEST(NewFont, TheApplicationsThreeTahomaFonts) {
    HFONT plain = NewFont("Tahoma", 13, 0, 0, 0, 0);
    HFONT underlined = NewFont("Tahoma", 13, 0, 0, 0, 1);
    HFONT bold = NewFont("Tahoma", 13, 0, 1, 0, 0);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, underlined);
    ASSERT_NE(nullptr, bold);
    LOGFONTA p = FontOf(plain), u = FontOf(underlined), b = FontOf(bold);
    EXPECT_EQ(13, p.lfHeight);
    EXPECT_EQ(0, p.lfWidth);
    EXPECT_EQ(FW_NORMAL, p.lfWeight);
    EXPECT_EQ(0, p.lfUnderline);
    EXPECT_STREQ("Tahoma", p.lfFaceName);
    EXPECT_EQ(1, u.lfUnderline);
    EXPECT_EQ(FW_NORMAL, u.lfWeight);
    EXPECT_EQ(FW_BOLD, b.lfWeight);
    EXPECT_EQ(0, b.lfUnderline);
    EXPECT_EQ(0, b.lfEscapement);
    EXPECT_EQ(ANSI_CHARSET, b.lfCharSet);
    DeleteObject(plain);
    DeleteObject(underlined);
    DeleteObject(bold);
}

TEST(NewFont, FlagsTakeTheirLowByteAndLongFacesAreCut) {
    std::string longFace(40, 'F');
    HFONT font = NewFont(longFace.c_str(), -20, 7, 5, 0x101, 0x200);
    ASSERT_NE(nullptr, font);
    LOGFONTA f = FontOf(font);
    EXPECT_EQ(-20, f.lfHeight);
    EXPECT_EQ(7, f.lfWidth);
    EXPECT_EQ(FW_BOLD, f.lfWeight);
    EXPECT_EQ(1, f.lfItalic);
    EXPECT_EQ(0, f.lfUnderline);
    EXPECT_EQ(31u, std::strlen(f.lfFaceName));
    DeleteObject(font);
}
