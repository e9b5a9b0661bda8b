// The runtime's named system settings ("errorlevel", "fastmode", ...) and the
// values behind them (Windows only). Set on the script thread; MessageMode and
// AutoPaint are also read by the GUI thread's window procedures (plain loads).
#pragma once

#include <windows.h>

#include <cstdint>

// "messagemode": how the runtime window procedures report WM_COMMAND.
// Written with InterlockedExchange.
extern volatile LONG MessageMode;
// "autopaint": how runtime windows repaint. Written with InterlockedExchange.
extern volatile LONG AutoPaint;
// "pdc": a device-context handle the bitmap drawing compares with its target.
extern std::intptr_t PdcHandle;
// "truecolor": non-zero for 24-bit RGB colour values, 0 for 15-bit values.
extern std::int32_t TrueColor;
// Stored and returned only: "sqlwidth", "sqldbc", "dbmemowidth", "debugmode".
extern std::int32_t SqlWidth;
extern std::int32_t SqlDbc;
extern std::int32_t DbMemoWidth;
extern std::int32_t DebugMode;

// Sets the setting called name (compared without regard to case) and returns
// its previous value; "randseed" seeds the random generator and returns 0, an
// unknown name changes nothing and returns 0. "fastmode" posts the fast-loop
// requests to the GUI thread when the value changes. Script thread only.
std::intptr_t SetSystemValue(const char *name, std::intptr_t value);
// The "errorlevel" rule: -2 with fast mode off turns fast mode on, the current
// level with fast mode on turns it off (ErrorLevel unchanged in both cases);
// any other value becomes ErrorLevel. Script thread only.
void SetErrorLevel(std::int32_t value);
// Stores "truecolor" directly (script thread, or the GUI thread at start-up).
void SetTrueColor(std::int32_t value);

// The start-up hooks StartErrorLevel ("errorlevel" := 1, core start-up on the
// GUI thread) and MarkScriptThreadStarted ("truecolor" := 1, script thread
// start) are declared in spine_hooks.h and defined with these settings.
