// ReadTextToArea: a whole text file into a memory area, line ends converted.
#include "runtime/system/files.h"

#include <windows.h>

#include "runtime/core/errors.h"
#include "runtime/core/memory_areas.h"
#include "runtime/system/text_read.h"

namespace {

constexpr std::int32_t kUnreadableError = 300;
constexpr std::int32_t kTextCutError = 244;

} // namespace

void ReadTextToArea(char *area, const StringValue &path) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        RaiseFatal(kUnreadableError, path.c_str());
        return;
    }
    const std::int32_t capacity = AreaSize(area);
    TextAreaFill fill = StartTextAreaFill(area, capacity > 0 ? static_cast<std::size_t>(capacity) : 0);
    char buffer[4096];
    DWORD read = 0;
    // A read error ends the text where it stands, as the end of the file does.
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        if (!FeedTextAreaFill(fill, buffer, read))
            break;
    }
    CloseHandle(file);
    if (FinishTextAreaFill(fill))
        RaiseNonFatal(kTextCutError);
}
