// Progress of long work on the plugin files (a re-sort, "Orig. Filenames",
// the recovery of an unfinished re-sort): until the work ends, the line of
// text under the main list says what is being done and how far it is, and
// the pointer over the main window is the wait cursor. Script thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// The line that shows the progress, set by the main window's start-up; null
// until then, and no line is shown.
extern HWND ProgressLine;

// The line changes at most this often while the count goes up.
constexpr DWORD ProgressIntervalMs = 100;

// The work begins, or goes on to its next stage: the line shows
// "<doing>: 0 of <total> plugins" and the pointer is the wait cursor. The
// line's own text is kept for EndProgress.
void BeginProgress(const char *doing, std::int32_t total);
// done of the stage's total plugins are through: the line shows it when it
// last changed ProgressIntervalMs ago or more, or when done is the total.
// Nothing outside BeginProgress ... EndProgress.
void ShowProgress(std::int32_t done);
// The work has ended: the line's own text and the normal pointer come back,
// and a click or menu choice captured during the work is dropped. Called
// before the work's closing box, so that nothing done after the box is
// dropped. Nothing when no progress is shown.
void EndProgress();
// True once after each EndProgress that ended progress: the event loop then
// forgets the presses and keys that came during the work. pressesAtEnd: the
// count of left presses on children (ChildPressCount) when the work ended.
bool TakeFinishedWork(LONG &pressesAtEnd);
