// Controls and secondary windows created through the GUI thread.
#include "runtime/window/controls.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "runtime/core/errors.h"
#include "runtime/core/requests.h"
#include "runtime/core/strings.h"
#include "runtime/window/control_keywords.h"

namespace {

// A request block that frees itself.
using Block = std::unique_ptr<std::uintptr_t[], void (*)(std::uintptr_t *)>;

Block NewBlock(std::size_t words) {
    return Block(NewRequestBlock(words), FreeRequestBlock);
}

std::uintptr_t Word(std::int32_t n) {
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(n));
}
template <typename T> std::uintptr_t Word(T *p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

HWND WindowOf(std::uintptr_t word) {
    return reinterpret_cast<HWND>(word);
}

std::int32_t AbsoluteHeight(std::int32_t height) {
    return height == INT32_MIN ? INT32_MAX : (height < 0 ? -height : height);
}

// A ControlBlock without the id words (automatic id, the program's instance).
Block ControlBlockFor(const char *className, const char *text, std::uint32_t style, std::uint32_t exStyle,
                      std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, HWND parent) {
    Block block = NewBlock(CONTROL_BLOCK_WORDS);
    block[CB_EXPLICIT_ID] = 0;
    block[CB_STYLE] = style;
    block[CB_EX_STYLE] = exStyle;
    block[CB_CLASS] = Word(className);
    block[CB_TEXT] = Word(text);
    block[CB_X] = Word(x);
    block[CB_Y] = Word(y);
    block[CB_WIDTH] = Word(width);
    block[CB_HEIGHT] = Word(height);
    block[CB_PARENT] = Word(parent);
    return block;
}

HWND SendControlBlock(Block &block) {
    SendRequest(GR_CREATE_CONTROL, reinterpret_cast<LPARAM>(block.get()));
    return WindowOf(block[CB_RESULT]);
}

// The seven-word window block of GR_CREATE_DIALOG_WINDOW and GR_CREATE_LDIALOG.
HWND PostWindowBlock(WPARAM code, HWND parent, const StringValue &title, std::int32_t x, std::int32_t y,
                     std::int32_t width, std::int32_t height) {
    Block block = NewBlock(7);
    block[0] = Word(title.c_str());
    block[1] = Word(parent);
    block[2] = Word(x);
    block[3] = Word(y);
    block[4] = Word(width);
    block[5] = Word(height);
    PostRequestAndWait(code, reinterpret_cast<LPARAM>(block.get()));
    return WindowOf(block[6]);
}

HWND CreateTabControl(const ControlKeyword &entry, const StringValue &text, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height, HWND parent) {
    Block block = ControlBlockFor(entry.className, text.c_str(), entry.style, entry.exStyle, x, y, width,
                                  height, parent);
    PostRequestAndWait(GR_CREATE_TAB_CONTROL, reinterpret_cast<LPARAM>(block.get()));
    return WindowOf(block[CB_RESULT]);
}

// The rich-edit class, loading its library first; the newer library is
// preferred. Libraries loaded here stay loaded for the whole run.
const char *LoadRichEditClass() {
    if (LoadLibraryA("RICHED20.DLL"))
        return "RichEdit20A";
    LoadLibraryA("RICHED32.DLL");
    return "RichEdit";
}

void AttachUpDown(HWND parent, HWND edit, const StringValue &text) {
    SpinRange range = ParseSpinText(text.c_str());
    Block block = NewBlock(9); // x, y, width, height all 0: the buddy decides
    block[4] = Word(parent);
    block[5] = Word(edit);
    block[6] = Word(range.maximum);
    block[7] = Word(range.minimum);
    block[8] = Word(range.position);
    PostRequestAndWait(GR_CREATE_UP_DOWN, reinterpret_cast<LPARAM>(block.get()));
}

void SetDateFromText(HWND picker, const StringValue &text) {
    char separator[8] = "";
    char order[8] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof separator);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
    DateFields date;
    if (!ParseDateText(text.c_str(), separator, LeadingInteger(order), date))
        return;
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void SetTimeFromText(HWND picker, const StringValue &text) {
    SYSTEMTIME time;
    GetSystemTime(&time);
    TimeFields fields{time.wHour, time.wMinute, 0};
    ParseTimeText(text.c_str(), fields);
    time.wHour = static_cast<WORD>(fields.hour);
    time.wMinute = static_cast<WORD>(fields.minute);
    time.wSecond = static_cast<WORD>(fields.second);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

} // namespace

HWND CreateByKeyword(const StringValue &keyword, HWND parent, const StringValue &text, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height) {
    const ControlKeyword *entry = FindControlKeyword(keyword.c_str());
    if (!entry) {
        RaiseFatal(101, StrUpper(keyword).c_str());
        return nullptr;
    }
    switch (entry->kind) {
    case ControlKind::TemplateDialog:
        return OpenTemplateDialog(parent, text, x, y, width, height);
    case ControlKind::DialogWindow:
        return OpenDialogWindow(parent, text, x, y, width, height);
    case ControlKind::TabControl:
        return CreateTabControl(*entry, text, x, y, width, height, parent);
    default:
        break;
    }

    std::uint32_t style = KeywordStyle(*entry, height);
    bool absoluteHeight = entry->kind == ControlKind::Edit || entry->kind == ControlKind::MultiEdit ||
                          entry->kind == ControlKind::SpinEdit;
    if (absoluteHeight)
        height = AbsoluteHeight(height);
    const char *className = entry->kind == ControlKind::RichEdit ? LoadRichEditClass() : entry->className;
    // A spin field's text only sets up its up-down control.
    const char *windowText = entry->kind == ControlKind::SpinEdit ? "" : text.c_str();

    Block block = ControlBlockFor(className, windowText, style, entry->exStyle, x, y, width, height, parent);
    HWND control = SendControlBlock(block);
    if (!control)
        return nullptr;

    switch (entry->kind) {
    case ControlKind::ScrollBar: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_POS;
        info.nMin = 0;
        info.nMax = 100;
        info.nPos = 0;
        SetScrollInfo(control, SB_CTL, &info, TRUE);
        break;
    }
    case ControlKind::RichEdit:
        InvalidateRect(parent, nullptr, TRUE);
        break;
    case ControlKind::SpinEdit:
        AttachUpDown(parent, control, text);
        break;
    case ControlKind::DateEdit:
        if (text.length != 0)
            SetDateFromText(control, text);
        break;
    case ControlKind::TimeEdit:
        if (text.length != 0)
            SetTimeFromText(control, text);
        break;
    default:
        break;
    }
    return control;
}

HWND CreateControl(const StringValue &className, const StringValue &text, std::uint32_t style, std::int32_t x,
                   std::int32_t y, std::int32_t width, std::int32_t height, HWND parent, std::int32_t id,
                   HINSTANCE instance, std::uint32_t exStyle) {
    Block block =
        ControlBlockFor(className.c_str(), text.c_str(), style, exStyle, x, y, width, height, parent);
    block[CB_EXPLICIT_ID] = 1;
    block[CB_ID] = Word(id);
    block[CB_INSTANCE] = Word(instance);
    return SendControlBlock(block);
}

HWND OpenDialogWindow(HWND parent, const StringValue &title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height) {
    return PostWindowBlock(GR_CREATE_DIALOG_WINDOW, parent, title, x, y, width, height);
}

HWND OpenTemplateDialog(HWND parent, const StringValue &title, std::int32_t x, std::int32_t y,
                        std::int32_t width, std::int32_t height) {
    return PostWindowBlock(GR_CREATE_LDIALOG, parent, title, x, y, width, height);
}

std::int32_t DestroyControl(HWND window) {
    Block block = NewBlock(2);
    block[0] = Word(window);
    SendRequest(GR_DESTROY_WINDOW, reinterpret_cast<LPARAM>(block.get()));
    return static_cast<std::int32_t>(block[1]);
}
