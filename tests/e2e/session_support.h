// The scripted session's shared pieces: the demo installation with its
// plugins, the running tool, and the user's view of the main window (its
// controls, rows, menus, message boxes and dialogs). Test thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "desktop.h"
#include "tool_session.h"

// A plugin file as the tests write it: shown name, line ending.
std::string PluginText(const std::string &shownName, const std::string &lineEnd);

// Everything one run of the tool needs, set up in order and torn down in reverse.
struct Session {
    explicit Session(const std::string &leaf);
    ~Session();
    // Starts the tool and waits for its main window; false when it did not appear.
    bool Start();
    // Ends the tool if it still runs (a test that failed may leave it anywhere)
    // and closes the Notepad windows it opened.
    void Stop();
    // A known state: the tool stopped, the plugin folder holding exactly files
    // (name -> bytes), the record emptied, and the tool started afresh.
    bool StartWith(const std::map<std::string, std::string> &files);

    RegistryFixture registry;
    PluginFolder folder;
    std::unique_ptr<Recorder> recorder;
    std::unique_ptr<ToolProcess> tool;
    HWND main = nullptr;
    DWORD startTick = 0; // GetTickCount when the main window was found
};

// Everything of the tool's process that a finished test must not leave behind
// (message boxes with their texts, menus, dialogs, a disabled main window),
// described for a failure message; empty when there is none.
std::string Leftovers(DWORD pid, HWND main);
// Lets go of every key and mouse button the tests press, so that a test
// stopped while it held one does not leave it down for the next.
void ReleaseAllInput();

// --- The main window as the user sees it ---

HWND Button(HWND main, const std::string &caption);
HWND MainList(HWND main);
// The invisible list of file names beside the main list.
HWND NameList(HWND main);
// Screen point of the centre of a row of a list box (rows from the top).
POINT RowPoint(HWND list, int row);
// Screen point at client position x, y of a window.
POINT ClientPoint(HWND window, int x, int y);
// Clicks a push button of the tool as a careful user does: the press must
// show on the button (pushed) before it is let go there, so the click reaches
// the button exactly once; a press that went elsewhere is let go and made
// again, a few times at most. False when the button never took the press.
bool ClickButton(HWND button);
// Clicks the button until effect holds: again only when the effect is still
// missing after timeoutMs, three clicks at most. Returns whether it held.
bool ClickButtonUntil(HWND button, const std::function<bool()> &effect, int timeoutMs = 5000);
// Clicks a row so that it is selected and the list has the focus; clicks
// again (a few times at most) while that has not happened.
void ClickRow(HWND list, int row);
// Brings the main window to the front with a click on its caption.
void ActivateByCaption(HWND window);
bool IsForeground(HWND window);
// True when window has the keyboard focus of its thread and its thread's
// window is the active one (keys typed now reach it).
bool HasKeyboardFocus(HWND window);
// Which windows are in front, active and focused, for failure messages.
std::string FocusReport(HWND window);
// Whether the window still exists, shows and answers, for failure messages.
std::string ToolState(HWND window);
// Screen point inside the close box of a window (found by asking the window).
POINT CloseBoxPoint(HWND window);

// --- Secondary windows of the tool ---

HWND PopupMenuWindow(DWORD pid);
// A message box of the tool (class #32770, visible), or null.
HWND MessageBoxWindow(DWORD pid);
// Waits for a message box, returns "caption|text" and answers it by clicking
// the button with the caption given ("OK", "&Yes", "&No"); empty when none came.
// Clicks again while the box stays open; when it is still open after a few
// clicks, the text returned says so (and so fails any comparison).
std::string AnswerMessageBox(DWORD pid, const std::string &button, int timeoutMs = 5000);
HWND DialogWindow(DWORD pid, const std::string &title);
// Waits for the dialog to be shown at its place on the screen (the tool
// builds its windows off-screen and moves them when complete); null when it
// did not come.
HWND WaitForDialog(DWORD pid, const std::string &title, int timeoutMs = 5000);
// Notepad windows of any process.
std::vector<HWND> NotepadWindows();
// Closes every Notepad window and waits until they are gone.
void CloseNotepads();

// Where screenshots go (created on demand); path of a named picture.
std::string ScreenshotPath(const std::string &name);
