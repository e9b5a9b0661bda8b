// Dragging a plugin to its place in the main list. While the left button is
// held after a press on a row, the list box itself moves its selection with
// the pointer (and scrolls when the pointer is above or below it); the drag
// moves the pressed row, in both lists, to wherever that selection is, once a
// pass of the event loop. Script thread only.
#pragma once

// One pass of the drag: a new left press on a row starts one; the row follows
// the list's selection; it stays where it stands when the button is let go
// and goes back where it began on Escape. The pointer shows the move cursor
// while the row is away from its place. Nothing on disk changes.
void FollowListDrag();
// Ends a drag under way where the row stands, and the list's own tracking of
// the pointer with it: a command ran or the right-click menu opens meanwhile.
void EndListDrag();
// The left presses on children counted up to presses (ChildPressCount as it
// stood when long work ended) start no drag, even when the button is still
// held: they came while the tool was busy with that work.
void ForgetListPresses(LONG presses);
