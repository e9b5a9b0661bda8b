// The About window's information text, row by row: its length, the section
// frames (44 underscores above, 44 macrons of code page 1252 below each
// heading), the rows the window shows first and last, and that the contact
// rows carry the same addresses that the buttons and links open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/about_window_rules.h"
#include "app/windows/web_addresses.h"

namespace {

std::vector<std::string> AllRows() {
    std::vector<std::string> rows;
    for (int i = 0; i < InfoTextRowCount(); ++i) {
        rows.emplace_back(InfoTextRow(i));
    }
    return rows;
}

TEST(InfoText, HasSixFramedSectionsIn86Rows) {
    const std::vector<std::string> rows = AllRows();
    ASSERT_EQ(86u, rows.size());
    const std::string underscores(44, '_');
    const std::string macrons(44, '\xAF');
    const struct {
        int row; // 1-based, the rule above the heading
        const char *heading;
    } sections[] = {{1, " :: Information"}, {6, " :: Short description"}, {13, " :: Technical Background"},
                    {26, " :: Functions"},  {74, " :: Trademarks"},       {82, " :: Disclaimer"}};
    int rules = 0;
    for (const auto &section : sections) {
        EXPECT_EQ(underscores, rows[section.row - 1]) << section.heading;
        EXPECT_EQ(section.heading, rows[section.row]);
        EXPECT_EQ(macrons, rows[section.row + 1]) << section.heading;
    }
    for (const std::string &row : rows) {
        rules += (row == underscores) ? 1 : 0;
    }
    EXPECT_EQ(6, rules); // no rule anywhere else
}

TEST(InfoText, KeepsTheExactWordingWhereItMatters) {
    const std::vector<std::string> rows = AllRows();
    ASSERT_EQ(86u, rows.size());
    EXPECT_EQ("''Quillsort'' is a tiny tool, which is able to ", rows[8]); // with its trailing blank
    EXPECT_EQ("with the ''Orig. Filenames'' button.", rows[24]);
    EXPECT_EQ("==> RIGHT CLICK MENU", rows[50]);
    // Move Up / Move Down is described twice, for the buttons and for the menu.
    EXPECT_EQ(rows[28], rows[64]);
    EXPECT_EQ(rows[29], rows[65]);
    EXPECT_EQ("", rows[30]);
    EXPECT_EQ("I assume no liability for any loss or damage caused by", rows[84]);
    EXPECT_EQ("any errors in the software.", rows[85]);
}

TEST(InfoText, ContactRowsNameTheAddressesTheToolOpens) {
    EXPECT_NE(std::string::npos, std::string(InfoTextRow(3)).find(MakerMailAddress));
    EXPECT_NE(std::string::npos, std::string(InfoTextRow(4)).find(MakerHomePage));
}

TEST(InfoText, RowsOutsideTheTextAreEmpty) {
    EXPECT_STREQ("", InfoTextRow(-1));
    EXPECT_STREQ("", InfoTextRow(86));
}

} // namespace
