// Directory of a drive: the current directory for "@", a drive's own current
// directory otherwise, and the process's directory is left where it was.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/core/drive_dir.h"

namespace {

std::string Current() {
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

std::string B(const StringValue &s) {
    return std::string(s.data, s.length);
}

TEST(DriveDirectory, AtSignGivesTheCurrentDirectory) {
    EXPECT_EQ(B(DriveDirectory(StringValue("@"))), Current());
}

TEST(DriveDirectory, DriveLetterInEitherCaseAndTheDirectoryIsRestored) {
    const std::string before = Current();
    const std::string upper = B(DriveDirectory(StringValue("C")));
    EXPECT_EQ(upper.substr(0, 3), "C:\\");
    EXPECT_EQ(B(DriveDirectory(StringValue("c:\\ignored"))), upper);
    EXPECT_EQ(Current(), before);
}

TEST(DriveDirectory, UnusableDriveGivesTheEmptyText) {
    const std::string before = Current();
    EXPECT_EQ(B(DriveDirectory(StringValue(""))), "");
    EXPECT_EQ(B(DriveDirectory(StringValue("?"))), "");
    EXPECT_EQ(Current(), before);
}

} // namespace
