// The system libraries that only some commands need: shell32 (links, the
// folder view, the folder chooser), comdlg32 (file dialogs), ole32 (COM for
// those) and comctl32 (common controls). The program does not import them;
// each is loaded the first time one of its functions is used and then kept
// for the rest of the process, so that starting the program does not pay for
// loading them (and the libraries they pull in).
//
// The wrappers in namespace OnDemand behave as the Win32 functions of the same
// name; when the library or the function cannot be had they fail the way the
// function reports failure (null handle, FALSE, an error result).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

// Any thread. True when name, a library name as CallLibrary takes it (path
// and extension optional, any case), is one of the four libraries above.
bool IsOnDemandLibrary(const char *name);
// Any thread. That library's module, loaded on first use and never freed;
// nullptr when name is not one of the four or the library cannot be loaded.
HMODULE OnDemandLibrary(const char *name);

// GUI thread. Initialises COM on the GUI thread the first time (CoInitialize);
// later calls do nothing. Called before every GUI-thread use of the shell,
// the file dialogs and the folder chooser.
void StartGuiCom();
// GUI thread. StartGuiCom once ole32 is in the process (loaded by any library,
// CallLibrary's included); nothing before.
void StartGuiComWhenLoaded();
// GUI thread, core teardown: CoUninitialize when StartGuiCom initialised COM.
void EndGuiCom();

// GUI thread. Registers the common-control classes (InitCommonControlsEx with
// bar, tab, up-down and date classes) the first time; later calls do nothing.
void StartCommonControls();
// True once StartCommonControls has registered them.
bool CommonControlsStarted();

namespace OnDemand {
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);
BOOL GetOpenFileNameA(LPOPENFILENAMEA dialog);
BOOL GetSaveFileNameA(LPOPENFILENAMEA dialog);
void CoTaskMemFree(LPVOID block);
HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);
HWND CreateUpDownControl(DWORD style, int x, int y, int width, int height, HWND parent, int id,
                         HINSTANCE instance, HWND buddy, int upper, int lower, int position);
} // namespace OnDemand
