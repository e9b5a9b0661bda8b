#include "runtime/core/requests.h"

#include "runtime/core/frame.h"
#include "runtime/core/message_loop.h"
#include "runtime/core/request_kinds.h"
#include "runtime/core/script_thread.h"

MessageRecord LastMessage;
volatile LONG MessageAtLastWait;

namespace {

std::uintptr_t *BlockOf(LPARAM param) {
    return reinterpret_cast<std::uintptr_t *>(param);
}

void Exchange(volatile LONG_PTR &word, LONG_PTR value) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(&word), reinterpret_cast<PVOID>(value));
}

// The kinds the request window serves when they are sent.
LRESULT ServeSentRequest(WPARAM code, LPARAM param) {
    switch (code) {
    case GR_CREATE_CONTROL:
        CreateControlRequest(BlockOf(param));
        break;
    case GR_DESTROY_WINDOW:
        DestroyWindowRequest(BlockOf(param));
        break;
    case GR_CALL_FUNCTION:
        CallFunctionRequest(BlockOf(param));
        if (FastMode != 0) {
            PostRequestNoWait(GR_PUMP_ALL, 0);
        }
        break;
    case GR_SLEEP:
        SleepRequest(static_cast<DWORD>(param));
        if (FastMode != 0) {
            PostRequestNoWait(GR_PUMP_ALL, 0);
        }
        break;
    case GR_INPUT_PENDING:
        InputPendingRequest(BlockOf(param));
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

std::uintptr_t *NewRequestBlock(std::size_t words) {
    return new std::uintptr_t[words]();
}

void FreeRequestBlock(std::uintptr_t *block) {
    delete[] block;
}

void RecordLastMessage(HWND window, UINT number, WPARAM wParam, LPARAM lParam) {
    Exchange(LastMessage.window, reinterpret_cast<LONG_PTR>(window));
    Exchange(LastMessage.number, static_cast<LONG_PTR>(number));
    Exchange(LastMessage.wParam, static_cast<LONG_PTR>(wParam));
    Exchange(LastMessage.lParam, lParam);
}

void PostRequestNoWait(WPARAM code, LPARAM param) {
    // Posted to the request window rather than to the thread: a modal loop of
    // the GUI thread (move/size, menus, message boxes) then dispatches it to
    // the request window procedure instead of dropping a thread message.
    PostMessageA(RequestWindow, GUI_REQUEST_MESSAGE, code, param);
}

void PostRequestAndWait(WPARAM code, LPARAM param) {
    if (GetCurrentThreadId() == GuiThreadId) {
        // Waiting here would block the thread that has to do the work.
        ExecuteRequest(code, param);
        WaitForSingleObject(RequestDoneEvent, 0);
        return;
    }
    ScriptCheckpoint();
    PostRequestNoWait(code, param);
    ScriptWait(RequestDoneEvent);
}

LRESULT SendRequest(WPARAM code, LPARAM param) {
    if (GetCurrentThreadId() == GuiThreadId) {
        return ServeSentRequest(code, param);
    }
    ScriptCheckpoint();
    LRESULT result = SendMessageA(RequestWindow, GUI_REQUEST_MESSAGE, code, param);
    ScriptCheckpoint();
    return result;
}

bool RequestCompletes(WPARAM code) {
    if (code < FirstRequestCode || code > LastRequestCode) {
        return false;
    }
    switch (code) {
    case GR_CREATE_LDIALOG_WITH_PROC:
    case GR_ENTER_FAST_LOOP:
    case GR_LEAVE_FAST_LOOP:
    case GR_PUMP_ALL:
    case GR_PUMP_REQUESTS_ONLY:
        return false;
    default:
        return true;
    }
}

void ExecuteRequest(WPARAM code, LPARAM param) {
    std::uintptr_t *block = BlockOf(param);
    switch (code) {
    case GR_CREATE_MAIN_WINDOW:
        CreateMainWindowRequest(block);
        break;
    case GR_CREATE_CONTROL:
        CreateControlRequest(block);
        break;
    case GR_PEEK_INPUT:
        PeekInputRequest(block);
        break;
    case GR_CREATE_LDIALOG:
        CreateLDialogRequest(block);
        break;
    case GR_CREATE_RESOURCE_DIALOG:
        CreateResourceDialogRequest(block);
        break;
    case GR_SHOW_POPUP:
        ShowPopupRequest(block);
        break;
    case GR_DESTROY_WINDOW:
        DestroyWindowRequest(block);
        break;
    case GR_FILE_DIALOG:
        FileDialogRequest(block);
        break;
    case GR_CREATE_TAB_CONTROL:
        CreateTabControlRequest(block);
        break;
    case GR_PUMP_PENDING:
        PumpPendingRequest();
        break;
    case GR_CALL_FUNCTION:
        CallFunctionRequest(block);
        break;
    case GR_CREATE_DIALOG_WINDOW:
        CreateDialogWindowRequest(block);
        break;
    case GR_BROWSE_FOLDER:
        BrowseFolderRequest(block);
        break;
    case GR_EDIT_BOX_DIALOG:
        EditBoxDialogRequest(block);
        break;
    case GR_LIST_BOX_DIALOG:
        ListBoxDialogRequest(block);
        break;
    case GR_INPUT_DIALOG:
        InputDialogRequest(block);
        break;
    case GR_SLEEP:
        SleepRequest(static_cast<DWORD>(param));
        break;
    case GR_INPUT_PENDING:
        InputPendingRequest(block);
        break;
    case GR_FILL_LIST:
        FillListRequest(block);
        break;
    case GR_CREATE_LDIALOG_WITH_PROC:
        CreateLDialogWithProcRequest(block);
        break;
    case GR_ENTER_FAST_LOOP:
        RunFastLoop();
        break;
    case GR_LEAVE_FAST_LOOP:    // handled by the fast loop itself
    case GR_PUMP_ALL:           // likewise
    case GR_PUMP_REQUESTS_ONLY: // ends a GR_PUMP_ALL phase, nothing else
        break;
    case GR_CREATE_UP_DOWN:
        CreateUpDownRequest(block);
        break;
    case GR_CREATE_STATUS_BAR:
        CreateStatusBarRequest(block);
        break;
    case GR_CREATE_TOOLTIP:
        CreateTooltipRequest(block);
        break;
    case GR_READ_LIST:
        ReadListRequest(block);
        break;
    case GR_MOVE_LIST_ROW:
        MoveListRowRequest(block);
        break;
    default:
        return; // unknown codes complete nothing
    }
    if (RequestCompletes(code)) {
        SetEvent(RequestDoneEvent);
    }
}

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != GUI_REQUEST_MESSAGE) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!InSendMessage()) {
        // A posted request that a modal loop of the GUI thread dispatched.
        ExecuteRequest(wParam, lParam);
        return 0;
    }
    if (ScriptStopped()) {
        return 0; // the sender is ending; let it reach its checkpoint
    }
    return ServeSentRequest(wParam, lParam);
}
