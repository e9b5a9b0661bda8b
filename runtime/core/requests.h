// GuiRequest: a piece of window work that the script thread hands to the GUI
// thread, and the record of the last message the GUI thread saw.
//
// Posted requests travel as GUI_REQUEST_MESSAGE (code in wParam, parameter in
// lParam) posted to the request window and are executed by the GUI loops (or,
// inside a modal loop of the GUI thread, by the request window procedure);
// the sender then waits on RequestDoneEvent. Sent requests are SendMessageA'd
// to the request window and served when the GUI thread pumps.
//
// A request block is a run of uintptr_t words allocated by the sender with
// NewRequestBlock; the sender frees it after the request has completed, except
// GR_CREATE_MAIN_WINDOW, whose block the GUI thread frees. Text words point at
// zero-terminated character data that stays valid until the request completes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr UINT GUI_REQUEST_MESSAGE = 0x8001; // WM_APP + 1

enum GuiRequestCode : WPARAM {
    // block: x, y, width, height; the GUI thread frees it. Posted, completes.
    GR_CREATE_MAIN_WINDOW = 0xA001,
    // ControlBlock of 13 words (see ControlWord). Sent; completes when posted.
    GR_CREATE_CONTROL = 0xA002,
    // parameter: pointer to a word := PeekMessageA result. Posted, completes.
    GR_PEEK_INPUT = 0xA003,
    // block: title, parent, x, y, width, height, result. Posted, completes.
    GR_CREATE_LDIALOG = 0xA004,
    // block: template name, parent, instance, result. Posted, completes.
    GR_CREATE_RESOURCE_DIALOG = 0xA005,
    // block: x, y in MainWindow client coordinates. Posted, completes.
    GR_SHOW_POPUP = 0xA006,
    // block: window, result. Sent; completes when posted.
    GR_DESTROY_WINDOW = 0xA007,
    // block: save flag, filter ("|"-separated), title, default extension,
    // result buffer (at least FileDialogBufferSize bytes). Posted, completes.
    GR_FILE_DIALOG = 0xA008,
    // ControlBlock; window text = the first tab's text. Posted, completes.
    GR_CREATE_TAB_CONTROL = 0xA009,
    // no parameter: dispatch what is queued. Posted, completes.
    GR_PUMP_PENDING = 0xA00A,
    // block: function, argument count, result. Sent; completes when posted.
    GR_CALL_FUNCTION = 0xA00B,
    // block: title, parent, x, y, width, height, result. Posted, completes.
    GR_CREATE_DIALOG_WINDOW = 0xA00C,
    // block: title, path buffer (MAX_PATH bytes at least). Posted, completes.
    GR_BROWSE_FOLDER = 0xA00D,
    // block: data, variant (2 = "EDITBOX2"), result. Posted, completes.
    GR_EDIT_BOX_DIALOG = 0xA00E,
    // block: data, template digit 1..8, result. Posted, completes.
    GR_LIST_BOX_DIALOG = 0xA00F,
    // block: data, unused, result. Posted, completes.
    GR_INPUT_DIALOG = 0xA010,
    // parameter: milliseconds. Sent; completes when posted.
    GR_SLEEP = 0xA011,
    // parameter: pointer to a word := 1 when key or mouse input is queued.
    GR_INPUT_PENDING = 0xA012,
    // block: window, message number, const std::vector<StringValue> *, then a
    // second window and its rows (0, 0 for one list). With a second list the
    // rows go in pairs: a row either list refuses goes into neither.
    // Posted, completes.
    GR_FILL_LIST = 0xA013,
    // block as GR_CREATE_LDIALOG, word 3 = dialog procedure. Posted, NO completion.
    GR_CREATE_LDIALOG_WITH_PROC = 0xA014,
    // The four fast-loop codes: posted without wait, no completion.
    GR_ENTER_FAST_LOOP = 0xA015,
    GR_LEAVE_FAST_LOOP = 0xA016,
    GR_PUMP_ALL = 0xA017,
    GR_PUMP_REQUESTS_ONLY = 0xA018,
    // block: x, y, width, height, parent, buddy, upper, lower, position. Posted, completes.
    GR_CREATE_UP_DOWN = 0xA019,
    // block: parent, text, result. Posted, completes.
    GR_CREATE_STATUS_BAR = 0xA01A,
    // block: owner window, tool id, text, result. Posted, completes.
    GR_CREATE_TOOLTIP = 0xA01B,
    // block: list box, std::vector<StringValue> * that receives every row's
    // text in order. Posted, completes.
    GR_READ_LIST = 0xA01C,
    // block: first list box, second list box, from row, to row (-1: the first
    // list's selection), result := the row's place afterwards. Posted, completes.
    GR_MOVE_LIST_ROW = 0xA01D,
};

constexpr WPARAM FirstRequestCode = GR_CREATE_MAIN_WINDOW;
constexpr WPARAM LastRequestCode = GR_MOVE_LIST_ROW;
constexpr std::size_t FileDialogBufferSize = 292;

// Words of the ControlBlock of GR_CREATE_CONTROL and GR_CREATE_TAB_CONTROL.
enum ControlWord : std::size_t {
    CB_EXPLICIT_ID, // 0: take the id from NextControlId and the program's instance
    CB_STYLE,
    CB_EX_STYLE,
    CB_CLASS,
    CB_TEXT,
    CB_X,
    CB_Y,
    CB_WIDTH,
    CB_HEIGHT,
    CB_PARENT,
    CB_ID,
    CB_INSTANCE,
    CB_RESULT,
    CONTROL_BLOCK_WORDS
};

// A zero-filled block of words; free it with FreeRequestBlock. Any thread.
std::uintptr_t *NewRequestBlock(std::size_t words);
void FreeRequestBlock(std::uintptr_t *block);

// Script thread. Posts the request and waits on RequestDoneEvent. Only for
// codes that complete when posted. Passes ScriptCheckpoint before and after,
// so a stopped script thread ends here.
void PostRequestAndWait(WPARAM code, LPARAM param);
// Any thread. Posts the request and returns (fast-loop codes, no completion).
void PostRequestNoWait(WPARAM code, LPARAM param);
// Script thread. Sends the request to the request window; returns when the GUI
// thread has served it. Passes ScriptCheckpoint before and after.
LRESULT SendRequest(WPARAM code, LPARAM param);

// GUI thread. Performs one posted request and sets RequestDoneEvent when the
// kind completes; codes outside FirstRequestCode..LastRequestCode do nothing.
void ExecuteRequest(WPARAM code, LPARAM param);
// True for the kinds whose posted execution sets RequestDoneEvent.
bool RequestCompletes(WPARAM code);

// Window procedure of the class "CW" (GUI thread).
LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// LastMessage: the last message seen by the GUI loop or a runtime window
// procedure. Written by the GUI thread with atomic exchanges, read by the
// script thread with plain loads.
struct MessageRecord {
    volatile LONG_PTR window;
    volatile LONG_PTR number;
    volatile LONG_PTR wParam;
    volatile LONG_PTR lParam;
};
extern MessageRecord LastMessage;
// Message number copied at the end of each wait (and by GR_PEEK_INPUT).
extern volatile LONG MessageAtLastWait;

// GUI thread: LastMessage := (window, number, wParam, lParam).
void RecordLastMessage(HWND window, UINT number, WPARAM wParam, LPARAM lParam);
