// Converting a plugin file's lone LFs into CR LF, on real files.
#include <gtest/gtest.h>

#include "app/catalogue/catalogue_state.h"
#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "runtime/core/strings.h"
#include "tests/support/box_watch.h"

namespace {

struct Converted {
    std::string bytes;
    std::vector<SeenBox> boxes;
    bool back = false;
    bool wentOn = false;
};

// Writes a.src with content, converts it and returns its bytes afterwards.
Converted Convert(const std::string &content, bool readOnly = false,
                  const std::function<void()> &before = {}) {
    TempPluginFolder folder;
    folder.Write("a.src", content);
    if (readOnly) {
        SetReadOnly(folder / "a.src", true);
    }
    Converted result;
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] {
        if (before) {
            before();
        }
        ForgetFocusAndLatch();
        ConvertPlugin(0);
        result.wentOn = true;
        result.back = BackOnMainList();
    });
    result.bytes = ReadBytes(folder / "a.src");
    result.boxes = boxes.Boxes();
    if (readOnly) {
        EXPECT_FALSE(IsReadOnly(folder / "a.src"));
    }
    return result;
}

void ExpectOneBox(const Converted &result, const char *text, const char *icon) {
    ASSERT_EQ(1u, result.boxes.size());
    EXPECT_EQ("Message:", result.boxes[0].caption);
    EXPECT_EQ(text, result.boxes[0].text);
    EXPECT_EQ(icon, result.boxes[0].icon);
    EXPECT_TRUE(result.boxes[0].okOnly);
}

} // namespace

TEST(ConvertPlugin, AFileWithoutLfGetsCrLfAppended) {
    Converted result = Convert("<search name=\"A\">\r</search>");
    EXPECT_EQ("<search name=\"A\">\r</search>\r\n", result.bytes);
    ExpectOneBox(result, "Conversion successful!", "information");
    EXPECT_TRUE(result.back);
}

TEST(ConvertPlugin, AFirstLineEndingInCrLfCountsAsConverted) {
    const std::string content = "<search name=\"A\">\r\nmethod=\"GET\"\n</search>\n";
    Converted result = Convert(content);
    EXPECT_EQ(content, result.bytes);
    ExpectOneBox(result, "Conversion not necessary!", "warning");
    EXPECT_TRUE(result.back);
}

TEST(ConvertPlugin, MixedLineEndsBecomeCrLfWithoutDoublingCr) {
    Converted result = Convert("<search name=\"A\">\nmethod=\"GET\"\r\n\n\r\r\n</search>\n");
    EXPECT_EQ("<search name=\"A\">\r\nmethod=\"GET\"\r\n\r\n\r\r\n</search>\r\n\r\n", result.bytes);
    ExpectOneBox(result, "Conversion successful!", "information");
}

TEST(ConvertPlugin, ZeroBytesDoNotCutTheFile) {
    Converted result = Convert(std::string("<search name=\"A\">\n\0x\n</search>", 30));
    EXPECT_EQ(std::string("<search name=\"A\">\r\n\0x\r\n</search>\r\n", 34), result.bytes);
}

TEST(ConvertPlugin, AFileLargerThanTheWorkAreaIsConvertedWhole) {
    std::string content = "<search name=\"Big\">\n";
    std::string expected = "<search name=\"Big\">\r\n";
    for (int line = 0; line < 4000; ++line) {
        std::string text = "# line " + std::to_string(line) + " of a long comment";
        content += text + "\n";
        expected += text + "\r\n";
    }
    content += "</search>";
    expected += "</search>\r\n";
    ASSERT_GT(content.size(), 100000u);
    Converted result = Convert(content);
    EXPECT_EQ(expected.size(), result.bytes.size());
    EXPECT_TRUE(expected == result.bytes);
    ASSERT_FALSE(result.boxes.empty());
    EXPECT_EQ("Conversion successful!", result.boxes.back().text);
}

TEST(ConvertPlugin, AReadOnlyFileIsConverted) {
    Converted result = Convert("<search name=\"A\">\n</search>\n", true);
    EXPECT_EQ("<search name=\"A\">\r\n</search>\r\n\r\n", result.bytes);
    ExpectOneBox(result, "Conversion successful!", "information");
}

TEST(ConvertPlugin, AFileGoneMeanwhileIsReported) {
    Converted result = Convert("<search name=\"A\">\n</search>\n", false,
                               [] { DeleteFileA(StrConcat(PluginFolder, "\\a.src").c_str()); });
    EXPECT_TRUE(result.wentOn);
    EXPECT_EQ("<missing>", result.bytes);
    ASSERT_EQ(1u, result.boxes.size());
    EXPECT_EQ("Message:", result.boxes[0].caption);
    EXPECT_TRUE(result.back);
}

TEST(ConvertPlugin, AFileTooLargeToHoldIsRefusedUntouched) {
    TempPluginFolder folder;
    const std::string head = "<search name=\"Huge\">\n";
    folder.Write("a.src", head);
    const LONG size = 64 * 1024 * 1024 + 1;
    HANDLE file =
        CreateFileA((folder / "a.src").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFilePointer(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    BoxWatch boxes;
    bool back = false;
    RunPluginScenario(folder.Path(), [&] {
        ForgetFocusAndLatch();
        ConvertPlugin(0);
        back = BackOnMainList();
    });
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA((folder / "a.src").c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(static_cast<DWORD>(size), data.nFileSizeLow);
    EXPECT_EQ(head, ReadBytes(folder / "a.src").substr(0, head.size()));
    EXPECT_TRUE(back);
    auto seen = boxes.Boxes();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ("Message:", seen.back().caption);
    EXPECT_NE(std::string::npos, seen.back().text.find("too large")) << seen.back().text;
}

TEST(ConvertPlugin, AFileOfFourGibibytesOrMoreIsRefusedUntouched) {
    TempPluginFolder folder;
    const std::string head = "<search name=\"Huge\">\n";
    folder.Write("a.src", head);
    // 4 GiB and the head's bytes, sparse: the low 32 bits of its size alone
    // would make it look like the head.
    HANDLE file =
        CreateFileA((folder / "a.src").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LONG high = 1;
    SetFilePointer(file, static_cast<LONG>(head.size()), &high, FILE_BEGIN);
    const bool sized = SetEndOfFile(file) != 0;
    CloseHandle(file);
    if (!sized) {
        GTEST_SKIP() << "this volume cannot hold a file of 4 GiB";
    }
    BoxWatch boxes;
    RunPluginScenario(folder.Path(), [&] { ConvertPlugin(0); });
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA((folder / "a.src").c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(1u, data.nFileSizeHigh);
    EXPECT_EQ(head.size(), data.nFileSizeLow);
    auto seen = boxes.Boxes();
    ASSERT_FALSE(seen.empty()); // the load warns first that it read only the start
    EXPECT_NE(std::string::npos, seen.back().text.find("too large")) << seen.back().text;
}
