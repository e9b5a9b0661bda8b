// The program's resources, read back from the executable they were compiled into.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

// The header, colour table and pixel rows of a bitmap resource.
struct BitmapResource {
    const BITMAPINFOHEADER *header = nullptr;
    const RGBQUAD *colours = nullptr;
    const BYTE *pixels = nullptr;

    explicit BitmapResource(const char *name) {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
        if (found == nullptr) {
            return;
        }
        header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, found)));
        colours = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(header) + header->biSize);
        DWORD used = header->biClrUsed != 0 ? header->biClrUsed : 256;
        pixels = reinterpret_cast<const BYTE *>(colours + used);
    }
    // Colour of the pixel at x in the bottom row (8 bits per pixel).
    COLORREF BottomRow(int x) const {
        const RGBQUAD &c = colours[pixels[x]];
        return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
};

void ExpectIconGroupOf32(const char *name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(nullptr, found) << name;
    HICON icon = static_cast<HICON>(LoadImageA(module, name, IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(nullptr, icon) << name;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    BITMAP colour = {};
    ASSERT_NE(nullptr, info.hbmColor) << name;
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(32, colour.bmWidth) << name;
    EXPECT_EQ(32, colour.bmHeight) << name;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

} // namespace

TEST(Resources, BrowserPictureIs191By75In8BitsOnPureGreen) {
    BitmapResource picture("FIREFOX");
    ASSERT_NE(nullptr, picture.header);
    EXPECT_EQ(191, picture.header->biWidth);
    EXPECT_EQ(75, picture.header->biHeight); // positive: bottom-up rows
    EXPECT_EQ(8, picture.header->biBitCount);
    // The bottom-left pixel is the transparent colour of the transparent draw.
    EXPECT_EQ(RGB(0, 255, 0), picture.BottomRow(0));
}

TEST(Resources, InfoStripIs68By227In8Bits) {
    BitmapResource strip("INFO");
    ASSERT_NE(nullptr, strip.header);
    EXPECT_EQ(68, strip.header->biWidth);
    EXPECT_EQ(227, strip.header->biHeight);
    EXPECT_EQ(8, strip.header->biBitCount);
}

TEST(Resources, IconGroupsAreThirtyTwoSquare) {
    ExpectIconGroupOf32("A");
    ExpectIconGroupOf32("VANTRO");
}

TEST(Resources, PointingHandIsMonochromeWithItsHotSpotAtTheFingertip) {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), "DRUCKER");
    ASSERT_NE(nullptr, cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(6u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    // Monochrome: no colour part, one mask of AND over XOR halves.
    EXPECT_EQ(nullptr, info.hbmColor);
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(32, mask.bmWidth);
    EXPECT_EQ(64, mask.bmHeight);
    EXPECT_EQ(1, mask.bmBitsPixel);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    // The program ships no other cursor of its own.
    EXPECT_EQ(nullptr, LoadCursorA(GetModuleHandleA(nullptr), "SCHIEBEN"));
    EXPECT_EQ(nullptr, LoadCursorA(GetModuleHandleA(nullptr), "GROESSE"));
}
