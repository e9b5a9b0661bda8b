// The spine hooks that no layer header carries: the window and drawing
// layers' start and end, and the procedures of the template dialogs this
// program never shows. The process frame reaches the window layer only here.
#include "runtime/core/spine_hooks.h"

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
