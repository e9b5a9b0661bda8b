#include "runtime/core/request_kinds.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/message_loop.h"
#include "runtime/core/requests.h"
#include "runtime/core/spine_hooks.h"
#include "runtime/core/string_value.h"
#include "runtime/core/window_procs.h"
#include "runtime/core/window_settings.h"

namespace {

int Int(std::uintptr_t word) {
    return static_cast<int>(static_cast<std::intptr_t>(word));
}

const char *Text(std::uintptr_t word) {
    return reinterpret_cast<const char *>(word);
}

HWND Window(std::uintptr_t word) {
    return reinterpret_cast<HWND>(word);
}

template <typename T> std::uintptr_t Word(T value) {
    return reinterpret_cast<std::uintptr_t>(value);
}

// The program's automatic control id; used up even when creation fails.
int TakeControlId() {
    return NextControlId++;
}

void ShowCreated(HWND window) {
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
}

// CreateWindowExA of a ControlBlock's control. A class that is not yet known
// may be a common control: the common-control classes are then registered and
// the creation is tried once more.
HWND CreateBlockControl(const std::uintptr_t *block, const char *text, int id, HINSTANCE instance) {
    HWND control = nullptr;
    for (int attempt = 0; attempt < 2 && control == nullptr; ++attempt) {
        if (attempt == 1) {
            if (CommonControlClassesStarted())
                break;
            StartCommonControlClasses();
        }
        control = CreateWindowExA(static_cast<DWORD>(block[CB_EX_STYLE]), Text(block[CB_CLASS]), text,
                                  static_cast<DWORD>(block[CB_STYLE]), Int(block[CB_X]), Int(block[CB_Y]),
                                  Int(block[CB_WIDTH]), Int(block[CB_HEIGHT]), Window(block[CB_PARENT]),
                                  reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), instance, nullptr);
    }
    return control;
}

// The text of a row of a list box; false when there is no such row.
bool RowText(HWND list, int row, std::vector<char> &text) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length < 0) {
        return false;
    }
    text.assign(static_cast<std::size_t>(length) + 4, '\0');
    return SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data())) >=
           0;
}

INT_PTR RunTemplateDialog(const char *name, DLGPROC procedure, std::uintptr_t *block) {
    return DialogBoxParamA(Instance, name, MainWindow, procedure, reinterpret_cast<LPARAM>(block));
}

} // namespace

void CreateMainWindowRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HMENU menu = MainWindowHasMenu() ? LoadMenuA(Instance, "LEER") : nullptr;
    HWND window = CreateWindowExA(MainWindowExStyle(), MainWindowClassName, MainWindowTitle(),
                                  MainWindowStyle(), Int(block[0]), Int(block[1]), Int(block[2]),
                                  Int(block[3]), nullptr, menu, Instance, nullptr);
    if (window == nullptr) {
        ExitProcess(1);
    }
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(&MainWindow), window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    FreeRequestBlock(block);
}

void CreateControlRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    int id;
    HINSTANCE instance;
    if (block[CB_EXPLICIT_ID] == 0) {
        id = TakeControlId();
        instance = Instance;
    } else {
        id = Int(block[CB_ID]);
        instance = reinterpret_cast<HINSTANCE>(block[CB_INSTANCE]);
    }
    HWND control = CreateBlockControl(block, Text(block[CB_TEXT]), id, instance);
    block[CB_RESULT] = Word(control);
    if (control != nullptr) {
        ApplyControlFont(control);
    }
}

void PeekInputRequest(std::uintptr_t *resultWord) {
    MSG message;
    BOOL waiting = PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (resultWord != nullptr) {
        *resultWord = static_cast<std::uintptr_t>(waiting);
    }
    if (waiting) {
        RecordLastMessage(message.hwnd, message.message, message.wParam, message.lParam);
        InterlockedExchange(&MessageAtLastWait, static_cast<LONG>(message.message));
    }
}

void CreateLDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HWND dialog = CreateDialogParamA(Instance, "LDIALOG", Window(block[1]), LDialogProc,
                                     reinterpret_cast<LPARAM>(block));
    block[6] = Word(dialog);
    ShowCreated(dialog);
}

void CreateResourceDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(block[2]);
    const char *name = Text(block[0]);
    HWND dialog = CreateDialogParamA(instance, name, Window(block[1]), LDialogProc, 0);
    if (dialog == nullptr && name != nullptr) {
        // The name may be a resource number written in decimal.
        long number = std::strtol(name, nullptr, 10) & 0xFFFF;
        if (number != 0) {
            dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(number), Window(block[1]), LDialogProc, 0);
        }
    }
    block[3] = Word(dialog);
    ShowCreated(dialog);
}

void ShowPopupRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    POINT point = {Int(block[0]), Int(block[1])};
    ClientToScreen(MainWindow, &point);
    TrackPopupMenu(PopupMenu, TPM_RIGHTBUTTON, point.x, point.y, 0, MainWindow, nullptr);
    // The chosen command is posted; focusing now sends the focus
    // notifications first, so the command is the last message recorded.
    if (HWND focusAfter = Window(block[2])) {
        StoreWindow(&FocusWindow, focusAfter);
        SetFocus(focusAfter);
    }
}

void DestroyWindowRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    block[1] = static_cast<std::uintptr_t>(DestroyWindow(Window(block[0])));
}

void FileDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    // "Text|*.txt|All|*.*" becomes the double-zero-terminated filter list.
    std::string filter = Text(block[1]) != nullptr ? Text(block[1]) : "";
    for (char &c : filter) {
        if (c == '|') {
            c = '\0';
        }
    }
    filter.append(2, '\0');
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainWindow;
    dialog.hInstance = Instance;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = reinterpret_cast<char *>(block[4]);
    dialog.nMaxFile = FileDialogBufferSize;
    dialog.lpstrTitle = Text(block[2]);
    dialog.lpstrDefExt = Text(block[3]);
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT; // 6
    BOOL chosen = ChooseFileName(&dialog, block[0] != 0);
    InterlockedExchange(&DialogResult, chosen ? 1 : 0);
}

void CreateTabControlRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    int id = TakeControlId();
    HWND control = CreateBlockControl(block, "", id, Instance);
    block[CB_RESULT] = Word(control);
    if (control == nullptr) {
        return;
    }
    const char *text = Text(block[CB_TEXT]) != nullptr ? Text(block[CB_TEXT]) : "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char *>(text);
    item.cchTextMax = static_cast<int>(std::strlen(text));
    SendMessageA(control, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    ApplyControlFont(control);
}

void PumpPendingRequest() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // keep it for the loop
            return;
        }
        // Requests found here are executed, not dropped.
        if (IsRequestMessage(message)) {
            ExecuteRequest(message.wParam, message.lParam);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void CallFunctionRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    block[2] = CallAddressWithSlots(block[0], Int(block[1]));
}

void CreateDialogWindowRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HWND window = CreateWindowExA(MainWindowExStyle(), DialogWindowClassName, Text(block[0]),
                                  MainWindowStyle(), Int(block[2]), Int(block[3]), Int(block[4]),
                                  Int(block[5]), Window(block[1]), nullptr, Instance, nullptr);
    block[6] = Word(window);
    ShowCreated(window);
}

void BrowseFolderRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    char *path = reinterpret_cast<char *>(block[1]);
    BROWSEINFOA info = {};
    info.hwndOwner = MainWindow;
    info.pszDisplayName = path;
    info.lpszTitle = Text(block[0]);
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    InterlockedExchange(&DialogResult, ChooseFolder(&info, path) ? 1 : 0);
}

void EditBoxDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    const char *name = block[1] == 2 ? "EDITBOX2" : "EDITBOX1";
    block[2] = static_cast<std::uintptr_t>(RunTemplateDialog(name, EditBoxDialogProc, block));
}

void ListBoxDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    std::string name = "LISTBOX" + std::to_string(Int(block[1]));
    block[2] = static_cast<std::uintptr_t>(RunTemplateDialog(name.c_str(), ListBoxDialogProc, block));
}

void InputDialogRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    block[2] = static_cast<std::uintptr_t>(RunTemplateDialog("INPUT", InputDialogProc, block));
}

void SleepRequest(DWORD milliseconds) {
    Sleep(milliseconds);
}

void InputPendingRequest(std::uintptr_t *resultWord) {
    Sleep(0);
    DWORD status = GetQueueStatus(QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON);
    if (resultWord != nullptr) {
        *resultWord = status != 0 ? 1 : 0;
    }
}

void FillListRequest(std::uintptr_t *block) {
    if (block == nullptr || block[2] == 0) {
        return;
    }
    const auto &items = *reinterpret_cast<const std::vector<StringValue> *>(block[2]);
    const UINT message = static_cast<UINT>(block[1]);
    HWND first = Window(block[0]);
    HWND second = Window(block[3]);
    if (second == nullptr || block[4] == 0) {
        for (const StringValue &item : items) {
            SendMessageA(first, message, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        return;
    }
    const auto &pairs = *reinterpret_cast<const std::vector<StringValue> *>(block[4]);
    const std::size_t count = std::min(items.size(), pairs.size());
    for (std::size_t i = 0; i < count; ++i) {
        LRESULT row = SendMessageA(first, message, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
        if (row < 0) {
            continue;
        }
        if (SendMessageA(second, message, 0, reinterpret_cast<LPARAM>(pairs[i].c_str())) < 0) {
            SendMessageA(first, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        }
    }
}

void ReadListRequest(std::uintptr_t *block) {
    if (block == nullptr || block[1] == 0) {
        return;
    }
    auto &rows = *reinterpret_cast<std::vector<StringValue> *>(block[1]);
    HWND list = Window(block[0]);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    std::vector<char> buffer;
    for (LRESULT row = 0; row < count; ++row) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
        if (length < 0) {
            rows.emplace_back();
            continue;
        }
        buffer.assign(static_cast<std::size_t>(length) + 4, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.data()));
        rows.emplace_back(buffer.data());
    }
}

void CreateLDialogWithProcRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    DLGPROC procedure = reinterpret_cast<DLGPROC>(block[3]);
    HWND dialog =
        CreateDialogParamA(Instance, "LDIALOG", MainWindow, procedure, reinterpret_cast<LPARAM>(block));
    block[6] = Word(dialog);
    ShowCreated(dialog);
}

void CreateUpDownRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    CreateUpDownBuddy(0x54000126, Int(block[0]), Int(block[1]), Int(block[2]), Int(block[3]),
                      Window(block[4]), TakeControlId(), Instance, Window(block[5]), Int(block[6]),
                      Int(block[7]), Int(block[8]));
}

void CreateStatusBarRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HWND bar = CreateStatusBarWindow(0x50000020, Text(block[1]), Window(block[0]),
                                     static_cast<UINT>(TakeControlId()));
    block[2] = Word(bar);
}

void CreateTooltipRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HWND owner = Window(block[0]);
    StartCommonControlClasses();
    HWND tip =
        CreateWindowExA(0x00080080, "tooltips_class32", nullptr, 0x94800000, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, Instance, nullptr);
    block[3] = Word(tip);
    if (tip == nullptr) {
        return;
    }
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 300);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE; // the 44-byte record on 32-bit Windows
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = block[1];
    tool.hinst = Instance;
    tool.lpszText = const_cast<char *>(Text(block[2]));
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void MoveListRowRequest(std::uintptr_t *block) {
    if (block == nullptr) {
        return;
    }
    HWND first = Window(block[0]);
    HWND second = Window(block[1]);
    const int from = Int(block[2]);
    int to = Int(block[3]);
    block[4] = block[2];
    const bool follow = to < 0;
    if (follow) {
        to = static_cast<int>(SendMessageA(first, LB_GETCURSEL, 0, 0));
        if (to < 0 || to == from) {
            return;
        }
    }
    const LRESULT count = SendMessageA(first, LB_GETCOUNT, 0, 0);
    if (from < 0 || from >= count || to >= count || SendMessageA(second, LB_GETCOUNT, 0, 0) != count) {
        return;
    }
    const LRESULT top = SendMessageA(first, LB_GETTOPINDEX, 0, 0);
    if (to != from) {
        std::vector<char> firstText;
        std::vector<char> secondText;
        if (!RowText(first, from, firstText) || !RowText(second, from, secondText)) {
            return;
        }
        // Both new rows go in before either old one goes: a list that refuses
        // its row (no memory) leaves both lists as they were.
        const WPARAM insertAt = static_cast<WPARAM>(to > from ? to + 1 : to);
        const WPARAM deleteAt = static_cast<WPARAM>(to > from ? from : from + 1);
        if (SendMessageA(first, LB_INSERTSTRING, insertAt, reinterpret_cast<LPARAM>(firstText.data())) < 0) {
            return;
        }
        if (SendMessageA(second, LB_INSERTSTRING, insertAt, reinterpret_cast<LPARAM>(secondText.data())) <
            0) {
            SendMessageA(first, LB_DELETESTRING, insertAt, 0);
            return;
        }
        SendMessageA(first, LB_DELETESTRING, deleteAt, 0);
        SendMessageA(second, LB_DELETESTRING, deleteAt, 0);
    }
    SendMessageA(first, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
    if (follow) {
        // The row went where the list box had scrolled to itself: it stays
        // scrolled as it was.
        SendMessageA(first, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    block[4] = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(to));
}
