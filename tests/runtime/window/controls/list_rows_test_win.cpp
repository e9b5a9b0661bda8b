// AddListRows: rows handed to a list box in one request, in their order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/events.h"
#include "runtime/core/frame.h"
#include "runtime/window/controls.h"
#include "runtime/window/window_ops.h"
#include "support_win.h"

namespace {

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        rows.push_back(GetListItem(list, static_cast<std::int32_t>(i)).c_str());
    return rows;
}

} // namespace

// Rows keep their order and come after the rows already there; an unsorted
// list keeps duplicates and empty rows; no rows change nothing.
TEST(ListRows, AppendedInOrderAfterExistingRows) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND list = CreateControl("LISTBOX", "", 0x50200141, 5, 5, 200, 150, MainWindow, 0, Instance, 0);
        ASSERT_NE(nullptr, list);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
        AddListRows(list, {"zeta", "alpha", "", "alpha"});
        AddListRows(list, {});
        EXPECT_EQ((std::vector<std::string>{"first", "zeta", "alpha", "", "alpha"}), Rows(list));
    });
}

// Three thousand rows arrive whole, the last one last (redraw off, as the
// catalogue fills its lists).
TEST(ListRows, ManyRowsInOneRequest) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND list = CreateControl("LISTBOX", "", 0x50200141, 5, 5, 200, 150, MainWindow, 0, Instance, 0);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        std::vector<StringValue> rows;
        for (int i = 0; i < 3000; ++i)
            rows.push_back(("row " + std::to_string(i)).c_str());
        AddListRows(list, rows);
        EXPECT_EQ(3000, SendMessageA(list, LB_GETCOUNT, 0, 0));
        EXPECT_STREQ("row 2999", GetListItem(list, 2999).c_str());
        EXPECT_STREQ("row 0", GetListItem(list, 0).c_str());
    });
}

// All rows read back in one request are the rows GetListItem reads one by
// one, in their order, long and empty ones included; an empty list and a
// window that is no list give no rows.
TEST(ListRows, ReadBackWholeAsRowByRow) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND list = CreateControl("LISTBOX", "", 0x50200141, 5, 5, 200, 150, MainWindow, 0, Instance, 0);
        ASSERT_NE(nullptr, list);
        EXPECT_TRUE(GetListItems(list).empty());
        std::vector<StringValue> rows = {"K03##alpha.src", "", std::string(600, 'x').c_str(), "beta.src"};
        AddListRows(list, rows);
        std::vector<StringValue> read = GetListItems(list);
        ASSERT_EQ(rows.size(), read.size());
        std::vector<std::string> texts;
        for (const StringValue &row : read)
            texts.push_back(row.c_str());
        EXPECT_EQ(Rows(list), texts);
        EXPECT_EQ(std::string(600, 'x'), texts[2]);
        EXPECT_TRUE(GetListItems(MainWindow).empty());
    });
}

// A row moved in a pair of lists lands where it is sent in both, the rows
// between shifting as single moves would leave them, and is selected; sent
// to the selection it goes where the list's selection is. Rows that cannot
// move leave both lists as they were.
TEST(ListRows, RowMovesInBothListsOfAPair) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND shown = CreateControl("LISTBOX", "", 0x50200141, 5, 5, 200, 150, MainWindow, 0, Instance, 0);
        HWND names = CreateControl("LISTBOX", "", 0x50000040, 5, 5, 0, 0, MainWindow, 0, Instance, 0);
        AddListRowPairs(shown, {"A", "B", "C", "D", "E"}, names, {"a", "b", "c", "d", "e"});
        auto both = [&](const std::vector<std::string> &rows) {
            std::vector<std::string> lower;
            for (const std::string &row : rows)
                lower.push_back(std::string(1, static_cast<char>(row[0] - 'A' + 'a')));
            return Rows(shown) == rows && Rows(names) == lower;
        };
        EXPECT_EQ(3, MoveListRowPair(shown, names, 0, 3));
        EXPECT_TRUE(both({"B", "C", "D", "A", "E"}));
        EXPECT_EQ(3, SendMessageA(shown, LB_GETCURSEL, 0, 0));
        EXPECT_EQ(0, MoveListRowPair(shown, names, 4, 0));
        EXPECT_TRUE(both({"E", "B", "C", "D", "A"}));
        EXPECT_EQ(0, SendMessageA(shown, LB_GETCURSEL, 0, 0));

        SendMessageA(shown, LB_SETCURSEL, 2, 0);
        EXPECT_EQ(2, MoveListRowPair(shown, names, 4, AtSelection));
        EXPECT_TRUE(both({"E", "B", "A", "C", "D"}));
        EXPECT_EQ(2, MoveListRowPair(shown, names, 2, AtSelection)); // already there
        SendMessageA(shown, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        EXPECT_EQ(1, MoveListRowPair(shown, names, 1, AtSelection)); // no selection
        EXPECT_EQ(1, MoveListRowPair(shown, names, 1, 5));           // past the end
        EXPECT_EQ(-1, MoveListRowPair(shown, names, -1, 2));
        SendMessageA(names, LB_DELETESTRING, 4, 0); // lists out of step: nothing moves
        EXPECT_EQ(0, MoveListRowPair(shown, names, 0, 3));
        EXPECT_EQ((std::vector<std::string>{"E", "B", "A", "C", "D"}), Rows(shown));
    });
}

// A left press on a child is recorded with the list row under it as the list
// stood at the press: a scroll afterwards does not change it, and a press
// below the last row or on another child has no row.
TEST(ListRows, APressOnAChildKeepsTheRowUnderIt) {
    RunChecked([] {
        OpenWindow(10, 10, 300, 200);
        HWND list = CreateControl("LISTBOX", "", 0x50200141, 5, 5, 200, 100, MainWindow, 0, Instance, 0);
        HWND button = CreateControl("BUTTON", "x", 0x50000000, 220, 5, 50, 20, MainWindow, 0, Instance, 0);
        AddListRows(list, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"});
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        auto press = [](int x, int y) {
            LONG before = ChildPressCount;
            SendMessageA(MainWindow, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(x, y));
            EXPECT_EQ(before + 1, ChildPressCount);
        };
        press(20, 5 + 3 * height + height / 2);
        SendMessageA(list, LB_SETTOPINDEX, 4, 0);
        EXPECT_EQ(list, ChildPressWindow);
        EXPECT_EQ(3, ChildPressRow);
        press(20, 5 + height / 2); // row 4 now stands at the top
        EXPECT_EQ(4, ChildPressRow);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        press(20, 5 + height / 2);
        EXPECT_EQ(-1, ChildPressRow);
        press(230, 10);
        EXPECT_EQ(button, ChildPressWindow);
        EXPECT_EQ(-1, ChildPressRow);
    });
}
