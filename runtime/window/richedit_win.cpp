// Rich-edit streaming through EM_STREAMIN and EM_STREAMOUT.
#include "runtime/window/richedit.h"

#include <richedit.h>

namespace {

// Stream callbacks, on the GUI thread. They return 0 on success, else the
// Win32 error code, which the control keeps in the EDITSTREAM's dwError.
DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *done) {
    DWORD got = 0;
    BOOL ok = ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &got, nullptr);
    *done = static_cast<LONG>(got);
    return ok ? 0 : GetLastError();
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG *done) {
    DWORD put = 0;
    BOOL ok = WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &put, nullptr);
    *done = static_cast<LONG>(put);
    return ok ? 0 : GetLastError();
}

bool IsRichEdit(HWND control) {
    return IsWindow(control) && SendMessageA(control, EM_GETOPTIONS, 0, 0) != 0;
}

std::uint32_t Stream(HWND control, HANDLE file, bool load, std::int32_t format) {
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file);
    stream.pfnCallback = load ? ReadFromFile : WriteToFile;
    LRESULT count = SendMessageA(control, load ? EM_STREAMIN : EM_STREAMOUT, static_cast<WPARAM>(format),
                                 reinterpret_cast<LPARAM>(&stream));
    // The callbacks ran on the GUI thread: their error travels in dwError, not
    // in this thread's last error. An empty file or an empty control streams
    // no bytes and is still a success; a file with bytes that gave no content
    // could not be read in that format.
    std::uint32_t error = stream.dwError;
    if (error == 0 && count <= 0 && load && GetFileSize(file, nullptr) > 0)
        error = ERROR_INVALID_DATA;
    CloseHandle(file);
    if (error == 0)
        SendMessageA(control, EM_SETMODIFY, FALSE, 0);
    return error;
}

} // namespace

std::uint32_t RichEditLoad(HWND control, const StringValue &path, std::int32_t format) {
    if (!IsRichEdit(control))
        return ERROR_INVALID_PARAMETER;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    return Stream(control, file, true, format);
}

std::uint32_t RichEditSave(HWND control, const StringValue &path, std::int32_t format) {
    if (!IsRichEdit(control))
        return ERROR_INVALID_PARAMETER;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    return Stream(control, file, false, format);
}
