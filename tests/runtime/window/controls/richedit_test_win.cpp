// Rich-edit streaming: files into controls and back, as text and as RTF.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <fstream>
#include <sstream>
#include <string>

#include "runtime/window/controls.h"
#include "runtime/window/richedit.h"
#include "support_win.h"

namespace {

std::string TempPath(const char *name) {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST(RichEdit, TextFileRoundTrip) {
    const std::string source = TempPath("qs_rich_in.txt");
    const std::string copy = TempPath("qs_rich_out.txt");
    const std::string text = "First line\r\nSecond line with \xE4\xF6\xFC";
    WriteFile(source, text);
    WriteFile(copy, "old content that must go away entirely");
    RunChecked([&] {
        HWND parent = OpenDialogWindow(nullptr, "rich", 10, 10, 400, 300);
        HWND rich = CreateByKeyword("richedit", parent, "", 5, 5, 380, 250);
        ASSERT_NE(nullptr, rich);
        SendMessageA(rich, EM_SETMODIFY, TRUE, 0);
        EXPECT_EQ(0u, RichEditLoad(rich, source.c_str(), RichEditText));
        EXPECT_EQ(0, SendMessageA(rich, EM_GETMODIFY, 0, 0));
        EXPECT_NE(std::string::npos, std::string(GetText(rich).c_str()).find("Second line"));
        EXPECT_EQ(0u, RichEditSave(rich, copy.c_str(), RichEditText));
    });
    EXPECT_EQ(text, ReadFile(copy));
    DeleteFileA(source.c_str());
    DeleteFileA(copy.c_str());
}

TEST(RichEdit, RtfFileRoundTrip) {
    const std::string source = TempPath("qs_rich_in.rtf");
    const std::string copy = TempPath("qs_rich_out.rtf");
    WriteFile(source, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Plain {\\b bold} end\\par}");
    std::string reloaded;
    RunChecked([&] {
        HWND parent = OpenDialogWindow(nullptr, "rich", 10, 10, 400, 300);
        HWND rich = CreateByKeyword("richedit", parent, "", 5, 5, 380, 120);
        HWND second = CreateByKeyword("richedit", parent, "", 5, 130, 380, 120);
        EXPECT_EQ(0u, RichEditLoad(rich, source.c_str(), RichEditRtf));
        EXPECT_NE(std::string::npos, std::string(GetText(rich).c_str()).find("Plain bold end"));
        EXPECT_EQ(0u, RichEditSave(rich, copy.c_str(), RichEditRtf));
        EXPECT_EQ(0u, RichEditLoad(second, copy.c_str(), RichEditRtf));
        reloaded = GetText(second).c_str();
        // The bold run survives the trip.
        SendMessageA(second, EM_SETSEL, 6, 7);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessageA(second, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    });
    EXPECT_EQ(0u, ReadFile(copy).rfind("{\\rtf", 0));
    EXPECT_NE(std::string::npos, reloaded.find("Plain bold end"));
    DeleteFileA(source.c_str());
    DeleteFileA(copy.c_str());
}

TEST(RichEdit, FailuresGiveWin32Codes) {
    const std::string empty = TempPath("qs_rich_empty.txt");
    WriteFile(empty, "");
    RunChecked([&] {
        HWND parent = OpenDialogWindow(nullptr, "rich", 10, 10, 400, 300);
        HWND rich = CreateByKeyword("richedit", parent, "", 5, 5, 380, 120);
        HWND plain = CreateByKeyword("multiedit", parent, "", 5, 130, 380, 120);
        EXPECT_EQ(87u, RichEditLoad(plain, empty.c_str(), RichEditText));
        EXPECT_EQ(87u, RichEditSave(nullptr, empty.c_str(), RichEditText));
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND),
                  RichEditLoad(rich, TempPath("qs_no_such_file.txt").c_str(), RichEditText));
        // An empty file and an empty control are fine.
        EXPECT_EQ(0u, RichEditLoad(rich, empty.c_str(), RichEditText));
        EXPECT_EQ(0u, RichEditSave(rich, empty.c_str(), RichEditText));
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND),
                  RichEditSave(rich, "C:\\no_such_folder_qs\\x.txt", RichEditText));
    });
    DeleteFileA(empty.c_str());
}
