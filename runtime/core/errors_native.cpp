// Native stand-in for errors_win.cpp: records the boxes and ends through a hook.
#include "runtime/core/errors_native.h"

#include <cstdlib>

#include "runtime/core/error_box.h"

namespace {

int BoxAnswer = kBoxAnswerOk;
void (*ProgramEndHook)() = nullptr;

} // namespace

std::vector<RecordedErrorBox> &RecordedErrorBoxes() {
    static std::vector<RecordedErrorBox> boxes;
    return boxes;
}

void SetErrorBoxAnswer(int answer) {
    BoxAnswer = answer;
}

void SetProgramEndHook(void (*hook)()) {
    ProgramEndHook = hook;
}

int ShowRuntimeErrorBox(const char *text, const char *caption, unsigned style) {
    RecordedErrorBoxes().push_back({text, caption, style});
    // Only the warning box has a Cancel button; the error box answers OK.
    return style == kWarningBoxStyle ? BoxAnswer : kBoxAnswerOk;
}

void EndAfterRuntimeError() {
    if (ProgramEndHook)
        ProgramEndHook();
    std::exit(0);
}
