// The progress line and the wait cursor during long work.
#include "app/catalogue/progress.h"

#include "app/catalogue/progress_rules.h"

#include "runtime/core/events.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

HWND ProgressLine = nullptr;

namespace {

constexpr std::int32_t WaitCursor = 2;

bool Shown = false;
bool Finished = false;
LONG PressesAtEnd = 0;
StringValue UsualText;
StringValue Doing;
std::int32_t Total = 0;
DWORD ShownAt = 0; // GetTickCount when the line last changed

void ShowLine(std::int32_t done) {
    if (ProgressLine != nullptr) {
        SetWindowTextA(ProgressLine, ProgressText(Doing, done, Total).c_str());
    }
    ShownAt = GetTickCount();
}

} // namespace

void BeginProgress(const char *doing, std::int32_t total) {
    if (!Shown) {
        Shown = true;
        UsualText = ProgressLine != nullptr ? GetText(ProgressLine) : StringValue();
        SetBusyPointer(WaitCursor);
    }
    Doing = doing;
    Total = total;
    ShowLine(0);
}

void ShowProgress(std::int32_t done) {
    // GetTickCount is read directly: it costs next to nothing, unlike a call
    // handed over to the GUI thread for every plugin.
    if (Shown && (done == Total || GetTickCount() - ShownAt >= ProgressIntervalMs)) {
        ShowLine(done);
    }
}

void EndProgress() {
    if (!Shown) {
        return;
    }
    Shown = false;
    Finished = true;
    DropUserMessage();
    PressesAtEnd = ChildPressCount;
    if (ProgressLine != nullptr) {
        SetWindowTextA(ProgressLine, UsualText.c_str());
    }
    EndBusyPointer();
}

bool TakeFinishedWork(LONG &pressesAtEnd) {
    bool finished = Finished;
    Finished = false;
    pressesAtEnd = PressesAtEnd;
    return finished;
}
