// The test program's hands and eyes on the Wine desktop: real keyboard and
// mouse input through SendInput, reading other processes' windows, bounded
// polling, and screenshots. Test thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// --- Waiting ---

// Polls condition every 10 ms until it holds or timeoutMs have passed;
// returns whether it held.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs = 5000);
// Lets a little time pass for effects that must NOT happen (bounded, short).
void Pause(int ms);

// --- Keyboard ---

void PressKey(WORD vk);
void ReleaseKey(WORD vk);
// Presses and releases vk.
void TapKey(WORD vk);
// Holds vk down until effect holds (or timeoutMs), then releases it; returns
// whether the effect was seen. The way a user holds a key until something happens.
// Should Wine let go of the key meanwhile (it syncs its key state with the X
// server's, where keys sent by SendInput are never down), it is pressed again.
bool HoldKeyUntil(WORD vk, const std::function<bool()> &effect, int timeoutMs = 5000);
// Holds modifier and vk together until effect holds, then releases both.
bool HoldChordUntil(WORD modifier, WORD vk, const std::function<bool()> &effect, int timeoutMs = 5000);
// Types text (letters, digits, blanks, quotes) as key presses.
void TypeText(const std::string &text);

// --- Mouse ---

// Moves the pointer to screen point x, y and waits until it is there.
void MoveMouse(int x, int y);
void PressMouse(bool right = false);
void ReleaseMouse(bool right = false);
// Moves to x, y and clicks: press, a short human-length hold, release.
void ClickAt(int x, int y, bool right = false);
// Clicks at x, y until effect holds: again only when the effect is still
// missing after timeoutMs (a press shorter than one of the tool's busy passes
// goes unseen by its polling), three clicks at most. Returns whether it held.
bool ClickAtUntil(int x, int y, const std::function<bool()> &effect, int timeoutMs = 8000);
// Clicks the centre of a window (for example a button of another process).
void ClickWindow(HWND window);
// Holds the mouse button at x, y until effect holds, then releases it.
bool HoldMouseUntil(int x, int y, bool right, const std::function<bool()> &effect, int timeoutMs = 5000);

// --- Reading windows ---

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
// Top-level windows of process pid (0: any process) with the class (empty:
// any) and title (empty: any), visible only.
std::vector<HWND> TopWindows(DWORD pid, const std::string &className, const std::string &title = "");
HWND TopWindow(DWORD pid, const std::string &className, const std::string &title = "");
// Direct and indirect children with the class (empty: any) and text (empty: any).
std::vector<HWND> Children(HWND parent, const std::string &className, const std::string &text = "");
HWND Child(HWND parent, const std::string &className, const std::string &text = "");
// The rows of a list box in another process, as code page 1252 text (read
// through the wide messages, which Wine answers across processes).
std::vector<std::string> ListRows(HWND list);
int ListSelection(HWND list);
// Every static text of a window (message boxes), joined by "|".
std::string StaticTexts(HWND window);
RECT WindowRect(HWND window);
POINT CentreOf(HWND window);

// --- Screenshots ---

// Copies the screen area of rect into a 24-bit BMP file; returns success.
bool SaveScreenshot(const RECT &rect, const std::string &path);
// The number of distinct colours on the screen within rect (0: unreadable).
int ColoursIn(const RECT &rect);
