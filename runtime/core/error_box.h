// Platform side of the runtime error reporter (errors.cpp decides what to show;
// this shows it). errors_win.cpp implements it with MessageBoxA and EndProgram,
// errors_native.cpp with a recording stand-in for the native tests.
#pragma once

// Box styles and answers; the values are those of the Win32 constants.
constexpr unsigned kErrorBoxStyle = 0x10;   // MB_OK | MB_ICONERROR
constexpr unsigned kWarningBoxStyle = 0x31; // MB_OKCANCEL | MB_ICONWARNING
constexpr int kBoxAnswerOk = 1;             // IDOK
constexpr int kBoxAnswerCancel = 2;         // IDCANCEL

// Shows one modal box on the calling thread (the script thread), owned by the
// main window when it exists, and returns the button chosen.
int ShowRuntimeErrorBox(const char *text, const char *caption, unsigned style);
// Ends the program after a shown runtime error; script thread, does not return.
[[noreturn]] void EndAfterRuntimeError();
