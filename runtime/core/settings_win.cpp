// Named system settings.
#include "runtime/core/settings.h"

#include <windows.h>

#include "runtime/core/errors.h"
#include "runtime/core/frame.h"
#include "runtime/core/random.h"
#include "runtime/core/requests.h"
#include "runtime/core/spine_hooks.h"

volatile LONG MessageMode = 0;
volatile LONG AutoPaint = 0;
std::intptr_t PdcHandle = 0;
std::int32_t TrueColor = 0;
std::int32_t SqlWidth = 0;
std::int32_t SqlDbc = 0;
std::int32_t DbMemoWidth = 0;
std::int32_t DebugMode = 0;

namespace {

// Switches fast mode and tells the GUI thread: entering (or re-entering with a
// new non-zero value) nests one fast loop; leaving ends the pump phase first.
std::int32_t SetFastMode(std::int32_t value) {
    LONG previous = InterlockedExchange(&FastMode, value);
    if (previous != value) {
        if (value != 0) {
            PostRequestNoWait(GR_ENTER_FAST_LOOP, 0);
        } else {
            PostRequestNoWait(GR_PUMP_REQUESTS_ONLY, 0);
            PostRequestNoWait(GR_LEAVE_FAST_LOOP, 0);
        }
    }
    return previous;
}

template <typename T> T Replace(T *target, T value) {
    T previous = *target;
    *target = value;
    return previous;
}

bool NameIs(const char *name, const char *setting) {
    return lstrcmpiA(name, setting) == 0;
}

} // namespace

std::intptr_t SetSystemValue(const char *name, std::intptr_t value) {
    if (!name)
        return 0;
    std::int32_t number = static_cast<std::int32_t>(value);
    if (NameIs(name, "errorlevel")) {
        std::int32_t previous = ErrorLevel;
        SetErrorLevel(number);
        return previous;
    }
    if (NameIs(name, "fastmode"))
        return SetFastMode(number);
    if (NameIs(name, "messagemode"))
        return InterlockedExchange(&MessageMode, number);
    if (NameIs(name, "randseed")) {
        SeedRandom(static_cast<std::uint32_t>(number));
        return 0;
    }
    if (NameIs(name, "pdc"))
        return Replace(&PdcHandle, value);
    if (NameIs(name, "sqlwidth"))
        return Replace(&SqlWidth, number);
    if (NameIs(name, "sqldbc"))
        return Replace(&SqlDbc, number);
    if (NameIs(name, "truecolor"))
        return Replace(&TrueColor, number);
    if (NameIs(name, "autopaint"))
        return InterlockedExchange(&AutoPaint, number);
    if (NameIs(name, "dbmemowidth"))
        return Replace(&DbMemoWidth, number);
    if (NameIs(name, "debugmode"))
        return Replace(&DebugMode, number);
    return 0;
}

void SetErrorLevel(std::int32_t value) {
    if (value == -2 && FastMode == 0)
        SetFastMode(1);
    else if (value == ErrorLevel && FastMode != 0)
        SetFastMode(0);
    else
        ErrorLevel = value;
}

void SetTrueColor(std::int32_t value) {
    TrueColor = value;
}

void StartErrorLevel() {
    ErrorLevel = 1;
}

void MarkScriptThreadStarted() {
    SetTrueColor(1);
}
