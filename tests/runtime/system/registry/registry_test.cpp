// ReadIniValue and RegistryRoot against keys and INI files that the tests
// create (in the test prefix) and remove again.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "runtime/core/errors.h"
#include "runtime/system/registry.h"
#include "tests/support/box_watch.h"

namespace {

const char kUserKey[] = "Software\\QuillsortTest\\Registry";
const char kMachineKey[] = "Software\\QuillsortTest\\Registry";
const char kClassesKey[] = "QuillsortTest.Registry";
const char kUsersKey[] = ".DEFAULT\\Software\\QuillsortTest\\Registry";
const char kBoxText[] = "Zeilennummer nicht verf\xFC"
                        "gbar.";

void SetText(HKEY key, const char *name, DWORD type, const std::string &data) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(data.data()),
                                            static_cast<DWORD>(data.size())));
}

// Stores text as REG_SZ without a terminator. The byte after the data must
// not be zero, or the system adds the terminator itself.
void SetUnterminated(HKEY key, const char *name, const std::string &text) {
    const std::string data = text + 'x';
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.data()),
                                            static_cast<DWORD>(text.size())));
}

void SetNumber(HKEY key, const char *name, DWORD value) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value));
}

HKEY Create(HKEY root, const char *path) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    return key;
}

// Removes path and then its parents up to (not including) the first named level.
void Remove(HKEY root, std::string path, std::size_t keepLevels) {
    for (;;) {
        RegDeleteKeyA(root, path.c_str());
        const std::size_t slash = path.rfind('\\');
        if (slash == std::string::npos)
            return;
        path.erase(slash);
        std::size_t levels = 1;
        for (char c : path)
            levels += c == '\\';
        if (levels <= keepLevels)
            return;
    }
}

class Registry : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        HKEY user = Create(HKEY_CURRENT_USER, kUserKey);
        SetText(user, "", REG_SZ, std::string("the default", 12));
        SetText(user, "text", REG_SZ,
                std::string("Gr\xFC\xDF"
                            "e aus dem Test",
                            19));
        SetText(user, "expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x", 11));
        SetText(user, "multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14));
        SetText(user, "binary", REG_BINARY, std::string("\x01\x02\x03", 3));
        SetText(user, "s255", REG_SZ, std::string(255, 'a') + '\0');
        SetText(user, "s256", REG_SZ, std::string(256, 'b') + '\0');
        SetUnterminated(user, "raw256", std::string(256, 'c'));
        SetUnterminated(user, "raw3", "abc");
        SetNumber(user, "zero", 0);
        SetNumber(user, "ones", 0xFFFFFFFFu);
        SetNumber(user, "high", 0x80000000u);
        SetNumber(user, "plain", 1234);
        RegCloseKey(user);

        HKEY machine = Create(HKEY_LOCAL_MACHINE, kMachineKey);
        SetText(machine, "where", REG_SZ, std::string("machine", 8));
        SetNumber(machine, "count", 7);
        RegCloseKey(machine);
        HKEY classes = Create(HKEY_CLASSES_ROOT, kClassesKey);
        SetText(classes, "where", REG_SZ, std::string("classes", 8));
        RegCloseKey(classes);
        HKEY users = Create(HKEY_USERS, kUsersKey);
        SetText(users, "where", REG_SZ, std::string("users", 6));
        RegCloseKey(users);
    }
    static void TearDownTestSuite() {
        Remove(HKEY_CURRENT_USER, kUserKey, 1);
        Remove(HKEY_LOCAL_MACHINE, kMachineKey, 1);
        Remove(HKEY_CLASSES_ROOT, kClassesKey, 0);
        Remove(HKEY_USERS, kUsersKey, 2);
    }
    void SetUp() override {
        savedLevel_ = ErrorLevel;
        ErrorLevel = -1;
        TakeErrorKind();
        LastErrorNumber = 0;
    }
    void TearDown() override { ErrorLevel = savedLevel_; }

    // Reads at errorlevel -1 and expects no report.
    static std::string Quiet(const char *file, const char *section, const char *key) {
        StringValue value = ReadIniValue(file, section, key);
        EXPECT_EQ(0, TakeErrorKind()) << file << " " << section << " " << key;
        return std::string(value.data, value.length);
    }

    std::int32_t savedLevel_ = 1;
};

TEST(RegistryRoot, TakesTheRootFromTheFirstSixCharactersInAnyCase) {
    EXPECT_EQ(HKEY_CLASSES_ROOT, RegistryRoot("HKEY_0"));
    EXPECT_EQ(HKEY_CURRENT_USER, RegistryRoot("HKEY_1"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, RegistryRoot("HKEY_2"));
    EXPECT_EQ(HKEY_USERS, RegistryRoot("HKEY_3"));
    EXPECT_EQ(HKEY_PERFORMANCE_DATA, RegistryRoot("HKEY_4"));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, RegistryRoot("HKEY_5"));
    EXPECT_EQ(HKEY_DYN_DATA, RegistryRoot("HKEY_6"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, RegistryRoot("hkey_2"));
    EXPECT_EQ(HKEY_CURRENT_USER, RegistryRoot("Hkey_1_CURRENT_USER"));
}

TEST(RegistryRoot, AnyOtherTextHasNoRoot) {
    for (const char *text :
         {"HKEY_7", "HKEY_9", "HKEY_", "HKEY", "", "HKCU", "HKEY-1", " HKEY_1", "HKEY_DW_1"})
        EXPECT_EQ(nullptr, RegistryRoot(text)) << text;
}

TEST_F(Registry, ReadsTextValuesUnderEveryWritableRoot) {
    EXPECT_EQ("classes", Quiet("HKEY_0", kClassesKey, "where"));
    EXPECT_EQ("machine", Quiet("HKEY_2", kMachineKey, "where"));
    EXPECT_EQ("machine", Quiet("hkey_2", kMachineKey, "where"));
    EXPECT_EQ("machine", Quiet("HKEY_2_LOCAL_MACHINE", kMachineKey, "where"));
    EXPECT_EQ("users", Quiet("HKEY_3", kUsersKey, "where"));
    EXPECT_EQ("Gr\xFC\xDF"
              "e aus dem Test",
              Quiet("HKEY_1", kUserKey, "text"));
}

TEST_F(Registry, EmptyValueNameReadsTheDefaultAndATrailingBackslashIsAllowed) {
    EXPECT_EQ("the default", Quiet("HKEY_1", kUserKey, ""));
    EXPECT_EQ("the default", Quiet("HKEY_1", (std::string(kUserKey) + "\\").c_str(), ""));
}

TEST_F(Registry, TextTypesGiveTheirFirstStringUnexpandedOtherTypesNothing) {
    EXPECT_EQ("%WINDIR%\\x", Quiet("HKEY_1", kUserKey, "expand"));
    EXPECT_EQ("first", Quiet("HKEY_1", kUserKey, "multi"));
    EXPECT_EQ("", Quiet("HKEY_1", kUserKey, "binary"));
    EXPECT_EQ("", Quiet("HKEY_1", kUserKey, "plain"));
}

TEST_F(Registry, NumberModeGivesSignedDecimalTextWhereverTheMarkerStands) {
    EXPECT_EQ("0", Quiet("HKEY_DW_1", kUserKey, "zero"));
    EXPECT_EQ("-1", Quiet("HKEY_1_DW_", kUserKey, "ones"));
    EXPECT_EQ("-2147483648", Quiet("hkey_dw_1", kUserKey, "high"));
    EXPECT_EQ("1234", Quiet("HKEY_DW_1", kUserKey, "plain"));
    EXPECT_EQ("7", Quiet("HKEY_2_dw_", kMachineKey, "count"));
}

TEST_F(Registry, A255CharacterTextIsWholeA256CharacterTextIsTooLong) {
    EXPECT_EQ(std::string(255, 'a'), Quiet("HKEY_1", kUserKey, "s255"));

    StringValue tooLong = ReadIniValue("HKEY_1", kUserKey, "s256");
    EXPECT_EQ(0u, tooLong.length);
    EXPECT_EQ(1, TakeErrorKind());
    EXPECT_EQ(305, LastErrorNumber);
}

TEST_F(Registry, FailuresReportNonFatal305AndGiveTheEmptyText) {
    struct Case {
        const char *file, *section, *key;
    };
    for (const Case &c : {Case{"HKEY_1", "Software\\QuillsortTest\\Missing", ""},
                          Case{"HKEY_9", kUserKey, "text"}, Case{"HKEY_1", kUserKey, "nothing"},
                          Case{"HKEY_DW_1", kUserKey, "nothing"}, Case{"HKEY_DW_1", kUserKey, "s255"}}) {
        LastErrorNumber = 0;
        StringValue value = ReadIniValue(c.file, c.section, c.key);
        EXPECT_EQ(0u, value.length) << c.file << " " << c.key;
        EXPECT_EQ(1, TakeErrorKind()) << c.file << " " << c.key;
        EXPECT_EQ(305, LastErrorNumber) << c.file << " " << c.key;
    }
}

TEST_F(Registry, ShownReportsCarryTheExactTextsAndOkCarriesOn) {
    ErrorLevel = 1;
    BoxWatch watch(IDOK);
    EXPECT_EQ(0u, ReadIniValue("HKEY_1", "Software\\QuillsortTest\\Missing\\", "").length);
    EXPECT_EQ(0u, ReadIniValue("HKEY_9", kUserKey, "text").length);
    EXPECT_EQ(0u, ReadIniValue("HKEY_1", kUserKey, "nothing").length);
    ASSERT_TRUE(watch.WaitFor(3));
    const std::vector<SeenBox> boxes = watch.Boxes();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("REGISTRY: RegOpenKeyEx scheiterte f\xFC"
              "r \"Software\\QuillsortTest\\Missing\\\".",
              boxes[0].caption);
    EXPECT_EQ("REGISTRY: RegOpenKeyEx scheiterte f\xFC"
              "r \"Software\\QuillsortTest\\Registry\".",
              boxes[1].caption);
    EXPECT_EQ("REGISTRY: \"Software\\QuillsortTest\\Registry\" nicht in \"nothing\" gefunden.",
              boxes[2].caption);
    for (const SeenBox &box : boxes)
        EXPECT_EQ(kBoxText, box.text);
    EXPECT_EQ(1, TakeErrorKind());
}

TEST_F(Registry, TextStoredWithoutTerminatorEndsWithItsData) {
    // 256 bytes fill the buffer exactly and carry no zero byte.
    EXPECT_EQ(std::string(256, 'c'), Quiet("HKEY_1", kUserKey, "raw256"));
    EXPECT_EQ("abc", Quiet("HKEY_1", kUserKey, "raw3"));
}

TEST_F(Registry, EveryReadClosesItsKey) {
    // Freed handle slots are handed out again: a key left open by a read
    // would move the next handle on.
    const auto nextHandle = [] {
        HKEY probe = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &probe));
        RegCloseKey(probe);
        return probe;
    };
    const HKEY before = nextHandle();
    for (int i = 0; i < 20; ++i) {
        ReadIniValue("HKEY_1", kUserKey, "text");
        ReadIniValue("HKEY_DW_1", kUserKey, "zero");
        ReadIniValue("HKEY_1", kUserKey, "nothing");
    }
    EXPECT_EQ(before, nextHandle());
    TakeErrorKind();
}

class IniFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        path_ = std::string(dir) + "quillsort_registry_test.ini";
        const std::string body = "[Main]\r\nname=Quillsort\r\nempty=\r\nlong=" + std::string(300, 'x') +
                                 "\r\n[Other]\r\nname=other\r\n";
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
        CloseHandle(file);
        savedLevel_ = ErrorLevel;
        ErrorLevel = -1;
        TakeErrorKind();
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        ErrorLevel = savedLevel_;
    }
    std::string Read(const std::string &file, const char *section, const char *key) {
        StringValue value = ReadIniValue(file.c_str(), section, key);
        EXPECT_EQ(0, TakeErrorKind());
        return std::string(value.data, value.length);
    }

    std::string path_;
    std::int32_t savedLevel_ = 1;
};

TEST_F(IniFile, ReadsPresentEntriesAndCutsAt255Characters) {
    EXPECT_EQ("Quillsort", Read(path_, "Main", "name"));
    EXPECT_EQ("other", Read(path_, "other", "NAME"));
    EXPECT_EQ("", Read(path_, "Main", "empty"));
    EXPECT_EQ(std::string(255, 'x'), Read(path_, "Main", "long"));
}

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheEmptyTextWithoutAReport) {
    EXPECT_EQ("", Read(path_, "Main", "missing"));
    EXPECT_EQ("", Read(path_, "Nowhere", "name"));
    EXPECT_EQ("", Read(path_ + ".absent", "Main", "name"));
}

} // namespace
