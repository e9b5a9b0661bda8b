#include "app/windows/input.h"

#include <cstdlib>

#include "runtime/core/events.h"
#include "runtime/system/library_call.h"

std::int32_t KeyState(std::int32_t vk) {
    return static_cast<std::int16_t>(CallLibrary("user32", "GetKeyState", {static_cast<std::uintptr_t>(vk)}));
}

bool KeyDown(std::int32_t vk) {
    return std::abs(KeyState(vk)) > 100;
}

bool Clicked(HWND control) {
    return control != nullptr && UserMessage.lParam == reinterpret_cast<LONG_PTR>(control) &&
           HIWORD(static_cast<DWORD>(UserMessage.wParam)) == 0;
}

bool MenuCommand(std::int32_t id) {
    return LOWORD(static_cast<DWORD>(UserMessage.wParam)) == id;
}
