// The process entry of Quillsort.exe: the runtime runs ScriptMain on its
// script thread and keeps every window on this, the first thread.
#include <windows.h>

#include "app/windows/main_window.h"
#include "runtime/core/frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunRuntime(instance, ScriptMain);
}
