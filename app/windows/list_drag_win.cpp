// Dragging a plugin to its place in the main list.
#include "app/windows/list_drag.h"

#include <windows.h>

#include "app/catalogue/main_lists.h"
#include "app/windows/input.h"
#include "app/windows/main_window.h"
#include "runtime/core/events.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_ops.h"

namespace {

constexpr std::int32_t LeftButton = 1;
constexpr std::int32_t EscapeKey = 27;
constexpr std::int32_t MoveCursor = 5; // the four-headed arrow
constexpr std::int32_t ArrowCursor = 0;

LONG SeenPresses = 0; // ChildPressCount when the last pass looked
bool Dragging = false;
bool Moved = false;       // the row has left the place it had at the press
std::int32_t Origin = -1; // where the row stood at the press
std::int32_t Place = -1;  // where it stands now

// The main-list row under the last left press on a child window, as the list
// stood at the press; -1 when the press was not on a row (elsewhere, on the
// scroll bar, below the last row).
std::int32_t PressedRow() {
    return ChildPressWindow == MainList ? ChildPressRow : -1;
}

void Finish() {
    if (Moved) {
        SetCursorShape(ArrowCursor);
    }
    Dragging = false;
    Moved = false;
}

// The list box stops following the pointer as at a release of the button.
void EndListTracking() {
    SendMessageA(MainList, WM_LBUTTONUP, 0, 0);
}

// The row goes to the list's selection, if that moved.
void FollowSelection() {
    std::int32_t now = MoveListRowPair(MainList, NameList, Place, AtSelection);
    if (now == Place) {
        return;
    }
    Place = now;
    if (!Moved) {
        Moved = true;
        SetCursorShape(MoveCursor);
    }
    UpdateMoveButtons();
}

} // namespace

void FollowListDrag() {
    LONG presses = ChildPressCount;
    bool pressed = presses != SeenPresses;
    SeenPresses = presses;
    if (!Dragging && !pressed) {
        return; // the pass asks the GUI thread nothing
    }
    InputPoll keys;
    AddKeyPolls(keys, {LeftButton, EscapeKey});
    if (Dragging && pressed) {
        // Let go and pressed again since the last pass: the drag ended at
        // that release, the new press may start the next one.
        Finish();
    }
    if (!Dragging) {
        std::int32_t row = pressed && KeyDown(keys, LeftButton) ? PressedRow() : -1;
        if (row < 0) {
            return;
        }
        Dragging = true;
        Origin = row;
        Place = row;
    }
    if (KeyDown(keys, EscapeKey)) {
        EndListTracking();
        MoveListRowPair(MainList, NameList, Place, Origin);
        UpdateMoveButtons();
        Finish();
        return;
    }
    // The button was read before the row follows: after a release the
    // selection stays where the release left it, so the last step still
    // brings the row there.
    FollowSelection();
    if (!KeyDown(keys, LeftButton)) {
        Finish();
    }
}

void EndListDrag() {
    if (Dragging) {
        EndListTracking();
        Finish();
    }
}

void ForgetListPresses(LONG presses) {
    // Never back: presses the drag has already seen stay seen.
    if (presses - SeenPresses > 0) {
        SeenPresses = presses;
    }
}
