// The test platform itself: every Windows test runs in a Wine virtual desktop
// of 1024 x 768, where window metrics, focus and foreground behave as on a
// desktop. Later window tests rely on these numbers.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Desktop, ScreenIsTheVirtualDesktop) {
    EXPECT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
}

TEST(Desktop, ColourDepthIs24BitsOrMore) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    EXPECT_GE(GetDeviceCaps(screen, BITSPIXEL), 24);
    ReleaseDC(nullptr, screen);
}

TEST(Desktop, AnsiCodePageIs1252) {
    EXPECT_EQ(1252u, GetACP());
}
