// Tests of pictures on Win32: decoding each file format with the imaging component, fitting to
// the screen's size, greying, and the image list's bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ImageList.h"
#include "platform/Images.h"
#include "platform/win32/Pictures.h"
#include "tests/unit/win32/Win32TestSupport.h"

using namespace Platform;

namespace {

struct TPixel {
    int R, G, B, A;
};

TPixel At(const TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p = &bitmap.Rgba[(static_cast<std::size_t>(y) * bitmap.Width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

// Straight RGBA back from a premultiplied DIB section.
TPixel At(HBITMAP handle, int x, int y) {
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectW(handle, sizeof dib, &dib), static_cast<int>(sizeof dib));
    const auto* row = static_cast<const std::uint8_t*>(dib.dsBm.bmBits) +
                      static_cast<std::ptrdiff_t>(y) * dib.dsBm.bmWidthBytes;
    const std::uint8_t* p = row + x * 4;
    const int a = p[3];
    const auto straight = [a](int c) { return a ? (c * 255 + a / 2) / a : 0; };
    return {straight(p[2]), straight(p[1]), straight(p[0]), a};
}

void ExpectNear(const TPixel& got, const TPixel& want, int tolerance, const std::string& where) {
    EXPECT_LE(std::abs(got.R - want.R), tolerance) << where;
    EXPECT_LE(std::abs(got.G - want.G), tolerance) << where;
    EXPECT_LE(std::abs(got.B - want.B), tolerance) << where;
    EXPECT_LE(std::abs(got.A - want.A), 2) << where;
}

constexpr TPixel kRed{255, 0, 0, 255};
constexpr TPixel kBlue{0, 0, 255, 255};
constexpr TPixel kHalfBlue{0, 0, 255, 128};

} // namespace

TEST(DecodeImage, ReadsEachFormatTheMenuTakes) {
    const struct {
        const char* File;
        TPixel Right;
        int Tolerance; // JPEG is lossy
    } cases[] = {
        {"pair.png", kHalfBlue, 0}, {"pair.bmp", kBlue, 0}, {"pair.ico", kBlue, 0}, {"pair.jpg", kBlue, 40}};
    for (const auto& c : cases) {
        const auto bytes = TestSupport::ReadFixture(std::string("images/") + c.File);
        ASSERT_FALSE(bytes.empty()) << c.File;
        TBitmap bitmap;
        ASSERT_TRUE(DecodeImage(bytes, bitmap)) << c.File;
        EXPECT_EQ(bitmap.Width, 16) << c.File;
        EXPECT_EQ(bitmap.Height, 8) << c.File;
        ExpectNear(At(bitmap, 0, 0), kRed, c.Tolerance, std::string(c.File) + " left");
        ExpectNear(At(bitmap, 15, 7), c.Right, c.Tolerance, std::string(c.File) + " right");
    }
}

TEST(DecodeImage, RefusesWhatNoCodecReadsAndLeavesTheBitmap) {
    auto truncated = TestSupport::ReadFixture("images/pair.png");
    truncated.resize(20);
    for (const auto& bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>(64, 0x41), truncated}) {
        TBitmap bitmap;
        bitmap.Width = 7;
        EXPECT_FALSE(DecodeImage(bytes, bitmap));
        EXPECT_EQ(bitmap.Width, 7);
        EXPECT_TRUE(bitmap.Rgba.empty());
    }
}

TEST(Pictures, FitMenuPicturesToTheScreenResolutionKeepingProportions) {
    TBitmap pair;
    ASSERT_TRUE(DecodeImage(TestSupport::ReadFixture("images/pair.bmp"), pair));
    for (const int dpi : {96, 144, 192}) {
        const int size = Pictures::ScaledSize(16, dpi);
        EXPECT_EQ(size, 16 * dpi / 96);
        const TBitmap fitted = Pictures::Fit(pair, size, size, true);
        ASSERT_EQ(fitted.Width, size);
        ASSERT_EQ(fitted.Height, size);
        const std::string where = std::to_string(dpi) + " dpi";
        // 2:1 in a square: a band across the middle, transparent above and below.
        EXPECT_EQ(At(fitted, 0, 0).A, 0) << where;
        EXPECT_EQ(At(fitted, size - 1, size - 1).A, 0) << where;
        ExpectNear(At(fitted, 0, size / 2), kRed, 0, where);
        ExpectNear(At(fitted, size - 1, size / 2), kBlue, 0, where);
    }
    // Filling: the whole canvas, with the colours averaged across the seam.
    const TBitmap shrunk = Pictures::Fit(pair, 2, 1, false);
    ExpectNear(At(shrunk, 0, 0), kRed, 0, "shrunk left");
    ExpectNear(At(shrunk, 1, 0), kBlue, 0, "shrunk right");
}

TEST(Pictures, GreyKeepsBrightnessAndHalvesOpacity) {
    TBitmap bitmap;
    bitmap.Width = 2;
    bitmap.Height = 1;
    bitmap.Rgba = {255, 0, 0, 255, 255, 255, 255, 100};
    Pictures::Grey(bitmap);
    EXPECT_EQ(bitmap.Rgba, (std::vector<std::uint8_t>{76, 76, 76, 127, 255, 255, 255, 50}));
}

TEST(SizedImageList, GivesBitmapsAtEachScaleAndGreyOnesForDisabled) {
    const auto png = TestSupport::ReadFixture("images/pair.png");
    TSizedImageCollection collection;
    ASSERT_TRUE(
        collection.Add("pair", std::string_view(reinterpret_cast<const char*>(png.data()), png.size())));
    TSizedImageList list;
    list.SetImageCollection(&collection);
    ASSERT_EQ(list.Add("pair"), 0);
    for (const int scale : {1, 2}) {
        auto* picture = static_cast<HBITMAP>(list.Picture(0, false, scale));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(list.Picture(0, false, scale), picture) << "kept for the next call";
        BITMAP info{};
        GetObjectW(picture, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16 * scale);
        EXPECT_EQ(info.bmHeight, 16 * scale);
        EXPECT_EQ(info.bmBitsPixel, 32);
        ExpectNear(At(picture, 0, 0), kRed, 1, "enabled");
        auto* grey = static_cast<HBITMAP>(list.Picture(0, true, scale));
        ASSERT_NE(grey, picture);
        ExpectNear(At(grey, 0, 0), {76, 76, 76, 127}, 2, "disabled");
    }
    EXPECT_EQ(list.Picture(1, false, 1), nullptr);
}
