// ShellOpen over ShellExecuteA.
#include "runtime/system/shell.h"

#include <windows.h>

#include "runtime/system/system_libraries.h"

std::intptr_t ShellOpen(const StringValue &file, const StringValue &verb, std::int32_t showMode) {
    HINSTANCE result =
        OnDemand::ShellExecuteA(nullptr, verb.c_str(), file.c_str(), nullptr, nullptr, showMode);
    return reinterpret_cast<std::intptr_t>(result);
}
