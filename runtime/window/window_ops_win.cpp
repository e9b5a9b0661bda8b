// Main window placement and the reading operations on windows.
#include "runtime/window/window_ops.h"

#include <memory>
#include <vector>

#include "runtime/core/errors.h"
#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/core/window_settings.h"

namespace {

constexpr std::int32_t kNegativeWindowSize = 223;

RECT MainWindowRect() {
    RECT rect = {0, 0, 0, 0};
    HWND window = MainWindow;
    if (window)
        GetWindowRect(window, &rect);
    return rect;
}

std::uintptr_t Word(std::int32_t n) {
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(n));
}

} // namespace

void OpenWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    if (x < 0 || y < 0)
        RaiseNonFatal(kNegativeWindowSize);
    HWND window = MainWindow;
    if (window) {
        SetPosition(window, x, y, width, height, KeepZOrder);
        // The move is asynchronous: let the GUI thread carry it out before the
        // new client size is read.
        PostRequestAndWait(GR_PUMP_PENDING, 0);
        RECT client = {0, 0, 0, 0};
        GetClientRect(window, &client);
        StoreLong(&ClientWidth, client.right - client.left);
        StoreLong(&ClientHeight, client.bottom - client.top);
        return;
    }
    // The GUI thread frees this block once the window exists.
    std::uintptr_t *block = NewRequestBlock(4);
    block[0] = Word(x);
    block[1] = Word(y);
    block[2] = Word(width);
    block[3] = Word(height);
    PostRequestAndWait(GR_CREATE_MAIN_WINDOW, reinterpret_cast<LPARAM>(block));
}

void SetPosition(HWND window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                 std::int32_t zOrder) {
    if (x < 0 || y < 0)
        RaiseNonFatal(kNegativeWindowSize);
    UINT flags = SWP_ASYNCWINDOWPOS;
    HWND after = HWND_TOP;
    switch (zOrder) {
    case KeepZOrder:
        after = nullptr;
        flags |= SWP_NOZORDER;
        break;
    case ToBottom:
        after = HWND_BOTTOM;
        break;
    case MakeTopmost:
        after = HWND_TOPMOST;
        break;
    case EndTopmost:
        after = HWND_NOTOPMOST;
        break;
    default:
        break;
    }
    SetWindowPos(window, after, x, y, width, height, flags);
}

std::int32_t WindowLeft() {
    return MainWindowRect().left;
}
std::int32_t WindowTop() {
    return MainWindowRect().top;
}
std::int32_t WindowRight() {
    return MainWindowRect().right;
}
std::int32_t WindowBottom() {
    return MainWindowRect().bottom;
}

StringValue GetText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0)
        length = 256;
    std::vector<char> buffer(static_cast<std::size_t>(length) + 4, '\0');
    GetWindowTextA(window, buffer.data(), length + 2);
    return StringValue(buffer.data());
}

StringValue GetListItem(HWND listBox, std::int32_t row) {
    LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length < 0)
        return StringValue();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 4, '\0');
    SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.data()));
    return StringValue(buffer.data());
}

std::vector<StringValue> GetListItems(HWND listBox) {
    std::vector<StringValue> rows;
    std::uintptr_t *block = NewRequestBlock(2);
    block[0] = reinterpret_cast<std::uintptr_t>(listBox);
    block[1] = reinterpret_cast<std::uintptr_t>(&rows);
    PostRequestAndWait(GR_READ_LIST, reinterpret_cast<LPARAM>(block));
    FreeRequestBlock(block);
    return rows;
}

void AddListRows(HWND listBox, const std::vector<StringValue> &rows) {
    if (rows.empty())
        return;
    std::uintptr_t *block = NewRequestBlock(5);
    block[0] = reinterpret_cast<std::uintptr_t>(listBox);
    block[1] = LB_ADDSTRING;
    block[2] = reinterpret_cast<std::uintptr_t>(&rows);
    block[3] = 0;
    block[4] = 0;
    PostRequestAndWait(GR_FILL_LIST, reinterpret_cast<LPARAM>(block));
    FreeRequestBlock(block);
}

void AddListRowPairs(HWND firstList, const std::vector<StringValue> &firstRows, HWND secondList,
                     const std::vector<StringValue> &secondRows) {
    if (firstRows.empty() || secondRows.empty())
        return;
    std::uintptr_t *block = NewRequestBlock(5);
    block[0] = reinterpret_cast<std::uintptr_t>(firstList);
    block[1] = LB_ADDSTRING;
    block[2] = reinterpret_cast<std::uintptr_t>(&firstRows);
    block[3] = reinterpret_cast<std::uintptr_t>(secondList);
    block[4] = reinterpret_cast<std::uintptr_t>(&secondRows);
    PostRequestAndWait(GR_FILL_LIST, reinterpret_cast<LPARAM>(block));
    FreeRequestBlock(block);
}

std::int32_t MoveListRowPair(HWND firstList, HWND secondList, std::int32_t from, std::int32_t to) {
    std::uintptr_t *block = NewRequestBlock(5);
    block[0] = reinterpret_cast<std::uintptr_t>(firstList);
    block[1] = reinterpret_cast<std::uintptr_t>(secondList);
    block[2] = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(from));
    block[3] = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(to));
    PostRequestAndWait(GR_MOVE_LIST_ROW, reinterpret_cast<LPARAM>(block));
    std::int32_t place = static_cast<std::int32_t>(static_cast<std::intptr_t>(block[4]));
    FreeRequestBlock(block);
    return place;
}

void EnableControl(HWND window, std::int32_t enable) {
    EnableWindow(window, enable != 0);
    if (enable == 0 && window == FocusWindow)
        StoreWindow(&FocusWindow, nullptr);
}
