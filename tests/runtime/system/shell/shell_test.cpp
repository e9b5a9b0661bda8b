// ShellOpen observed through shell_recorder.exe, registered here as the
// handler of the file type ".qsrecord" (verbs "open" and "record") and of the
// address scheme "qsrecord:". Each test tells the recorder where to write.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "runtime/system/shell.h"

namespace {

const char kProgId[] = "QuillsortTest.Recording";

std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

void SetDefault(const std::string &path, const std::string &value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void RemoveTree(const std::string &path) {
    for (const char *leaf : {"\\shell\\open\\command", "\\shell\\open", "\\shell\\record\\command",
                             "\\shell\\record", "\\shell", ""})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (path + leaf).c_str());
}

class ShellOpenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string recorder = "\"" + TestFolder() + "shell_recorder.exe\"";
        SetDefault(".qsrecord", kProgId);
        SetDefault(std::string(kProgId) + "\\shell\\open\\command", recorder + " open \"%1\"");
        SetDefault(std::string(kProgId) + "\\shell\\record\\command", recorder + " record \"%1\"");
        SetDefault("qsrecord", "URL:Quillsort test scheme");
        HKEY scheme = nullptr;
        RegOpenKeyExA(HKEY_CLASSES_ROOT, "qsrecord", 0, KEY_SET_VALUE, &scheme);
        RegSetValueExA(scheme, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
        RegCloseKey(scheme);
        SetDefault("qsrecord\\shell\\open\\command", recorder + " url \"%1\"");
    }
    static void TearDownTestSuite() {
        RemoveTree(kProgId);
        RemoveTree("qsrecord");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".qsrecord");
    }
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        record_ = std::string(temp) + "qs_shell_" + name + ".txt";
        document_ = std::string(temp) + "qs_shell_" + name + ".qsrecord";
        DeleteFileA(record_.c_str());
        std::ofstream(document_) << "document\n";
        SetEnvironmentVariableA("QS_RECORD_FILE", record_.c_str());
    }
    void TearDown() override {
        DeleteFileA(record_.c_str());
        DeleteFileA(document_.c_str());
        SetEnvironmentVariableA("QS_RECORD_FILE", nullptr);
    }

    // What the recorder wrote; empty when it did not run within waitMs.
    std::string Recorded(int waitMs = 15000) const {
        for (int waited = 0; waited <= waitMs; waited += 50) {
            std::ifstream in(record_);
            if (in) {
                std::ostringstream text;
                text << in.rdbuf();
                return text.str();
            }
            Sleep(50);
        }
        return "";
    }

    std::string record_;
    std::string document_;
};

TEST_F(ShellOpenTest, OpensAFileWithTheVerbAndShowModeGiven) {
    EXPECT_GT(ShellOpen(document_.c_str(), "record", SW_SHOWNORMAL), 32);
    const std::string seen = Recorded();
    EXPECT_NE(std::string::npos, seen.find(" record ")) << seen;
    EXPECT_NE(std::string::npos, seen.find(document_)) << seen;
    EXPECT_NE(std::string::npos, seen.find("show=1")) << seen;
}

TEST_F(ShellOpenTest, AnEmptyVerbRunsTheDefaultVerb) {
    EXPECT_GT(ShellOpen(document_.c_str(), "", SW_HIDE), 32);
    const std::string seen = Recorded();
    EXPECT_NE(std::string::npos, seen.find(" open ")) << seen;
    EXPECT_NE(std::string::npos, seen.find("show=0")) << seen;
}

TEST_F(ShellOpenTest, OpensAnAddressThroughItsScheme) {
    EXPECT_GT(ShellOpen("qsrecord://example.org/page?x=1", "open", SW_SHOWNORMAL), 32);
    const std::string seen = Recorded();
    EXPECT_NE(std::string::npos, seen.find(" url ")) << seen;
    EXPECT_NE(std::string::npos, seen.find("qsrecord://example.org/page?x=1")) << seen;
}

TEST_F(ShellOpenTest, FailuresAreOnlyTheResult32OrLess) {
    EXPECT_LE(ShellOpen((document_ + ".absent").c_str(), "open", SW_SHOWNORMAL), 32);
    EXPECT_LE(ShellOpen(document_.c_str(), "nosuchverb", SW_SHOWNORMAL), 32);
    EXPECT_EQ("", Recorded(1000));
}

} // namespace
