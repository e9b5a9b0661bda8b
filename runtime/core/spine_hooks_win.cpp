// The spine hooks that no layer header carries: the window, drawing and
// system layers' start and end, the system services of the request executor,
// and the procedures of the template dialogs this program never shows. The
// core reaches the layers above it only here.
#include "runtime/core/spine_hooks.h"

#include "runtime/system/files.h"
#include "runtime/system/library_call.h"
#include "runtime/system/system_libraries.h"
#include "runtime/window/drawing.h"
#include "runtime/window/window_services.h"

void StartWindowLayer() {
    StartWindowServices();
}

void EndWindowLayer() {
    EndWindowServices();
}

void StartDrawingLayer() {
    StartDrawing();
}

void EndDrawingLayer() {
    EndDrawing();
}

void ReleaseRemainingRegistries() {}

void StartSystemLayer() {
    StartFileLayer();
}

void EndSystemLayer() {
    EndFileLayer();
}

void EndShellCom() {
    EndGuiCom();
}

BOOL ChooseFileName(OPENFILENAMEA *dialog, bool save) {
    StartGuiCom();
    return save ? OnDemand::GetSaveFileNameA(dialog) : OnDemand::GetOpenFileNameA(dialog);
}

bool ChooseFolder(BROWSEINFOA *info, char *path) {
    StartGuiCom();
    LPITEMIDLIST chosen = OnDemand::SHBrowseForFolderA(info);
    if (chosen == nullptr) {
        path[0] = '\0';
        return false;
    }
    OnDemand::SHGetPathFromIDListA(chosen, path);
    OnDemand::CoTaskMemFree(chosen);
    return true;
}

std::uintptr_t CallAddressWithSlots(std::uintptr_t address, int count) {
    StartGuiComWhenLoaded();
    return CallFunctionWithSlots(address, count);
}

void StartCommonControlClasses() {
    StartCommonControls();
}

bool CommonControlClassesStarted() {
    return CommonControlsStarted();
}

HWND CreateUpDownBuddy(DWORD style, int x, int y, int width, int height, HWND parent, int id,
                       HINSTANCE instance, HWND buddy, int upper, int lower, int position) {
    return OnDemand::CreateUpDownControl(style, x, y, width, height, parent, id, instance, buddy, upper,
                                         lower, position);
}

HWND CreateStatusBarWindow(LONG style, LPCSTR text, HWND parent, UINT id) {
    return OnDemand::CreateStatusWindowA(style, text, parent, id);
}

// The template dialogs end at once; their templates are absent anyway, so
// DialogBoxParamA fails before these are ever called.
INT_PTR CALLBACK EditBoxDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK ListBoxDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditBoxDialogProc(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditBoxDialogProc(dialog, message, wParam, lParam);
}
