// Message box and folder chooser.
#include "runtime/window/window_ops.h"

#include <windows.h>

#include <memory>
#include <string>

#include "runtime/core/frame.h"
#include "runtime/core/requests.h"
#include "runtime/system/library_call.h"
#include "runtime/window/control_keywords.h"

namespace {

// Size of the path buffer handed to the folder chooser (at least MAX_PATH).
constexpr std::size_t kFolderBufferSize = 296;
static_assert(kFolderBufferSize >= MAX_PATH, "the chooser writes up to MAX_PATH bytes");

} // namespace

std::int32_t ShowMessageBox(const StringValue &text, const StringValue &caption, std::uint32_t flags) {
    std::int32_t answer = static_cast<std::int32_t>(
        CallLibrary("USER32", "MessageBoxA",
                    {reinterpret_cast<std::uintptr_t>(static_cast<HWND>(MainWindow)),
                     reinterpret_cast<std::uintptr_t>(text.c_str()),
                     reinterpret_cast<std::uintptr_t>(caption.c_str()), flags}));
    InterlockedExchange(&DialogResult, answer);
    return answer;
}

StringValue BrowseForFolder(const StringValue &prompt) {
    std::unique_ptr<char[]> path(new char[kFolderBufferSize]());
    std::unique_ptr<std::uintptr_t[], void (*)(std::uintptr_t *)> block(NewRequestBlock(2), FreeRequestBlock);
    block[0] = reinterpret_cast<std::uintptr_t>(prompt.c_str());
    block[1] = reinterpret_cast<std::uintptr_t>(path.get());
    PostRequestAndWait(GR_BROWSE_FOLDER, reinterpret_cast<LPARAM>(block.get()));
    path[kFolderBufferSize - 1] = '\0';
    return StringValue(WithTrailingBackslash(path.get()).c_str());
}
