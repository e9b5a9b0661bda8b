// Numbered runtime errors with German messages, reported according to the
// "errorlevel" setting. Called on the script thread; the boxes are shown from
// the calling thread, owned by the main window when it exists.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// Severity recorded by the last report: 2 fatal, 1 non-fatal, 0 after TakeErrorKind.
extern volatile std::int32_t ErrorKind;
extern volatile std::int32_t LastErrorNumber;
extern std::int32_t ErrorLevel;

// Reports a fatal error. Returns only when ErrorLevel is -1; otherwise shows
// the error box and ends the program through EndProgram.
void RaiseFatal(std::int32_t number, const char *detail = nullptr);
// Reports a non-fatal error. Returns unless the level or the user ends the program.
void RaiseNonFatal(std::int32_t number, const char *detail = nullptr);
// Reports a failure that escaped the script routine (an exception): the fatal
// error box captioned "Programm abgebrochen!", whatever "errorlevel" says.
// Script thread; allocates nothing, so it also works when memory ran out.
void ReportEscapedFault();
// The German text of a message number; the empty text for unknown numbers.
StringValue ErrorText(std::int32_t number);
// Returns ErrorKind and resets it to 0.
std::int32_t TakeErrorKind();
