// Tests of the image collection and list: which source size serves which scale, the names of the
// grey versions, and the key pictures built into the program.
#include "platform/ImageList.h"

#include <gtest/gtest.h>

#include "platform/Resources.h"

using namespace Platform;

namespace {

// A PNG signature and header chunk of the given width: enough for the collection to take it.
std::string PngHeader(unsigned width) {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (int shift = 24; shift >= 0; shift -= 8)
        png += static_cast<char>((width >> shift) & 0xff);
    return png + std::string(8, '\0');
}

} // namespace

TEST(SizedImageCollection, PicksTheSmallestSourceNotBelowTheSizeElseTheLargest) {
    TSizedImageCollection collection;
    // Added out of order on purpose.
    ASSERT_TRUE(collection.Add("key", PngHeader(32)));
    ASSERT_TRUE(collection.Add("key", PngHeader(16)));
    ASSERT_TRUE(collection.Add("lock", PngHeader(48)));
    EXPECT_EQ(collection.Count(), 2);
    EXPECT_EQ(collection.IndexOf("lock"), 1);
    EXPECT_EQ(collection.IndexOf("Key"), -1);

    const struct {
        int Width, Expected;
    } cases[] = {{1, 16}, {16, 16}, {17, 32}, {24, 32}, {32, 32}, {48, 32}};
    for (const auto& c : cases)
        EXPECT_EQ(collection.SourceWidthFor(0, c.Width), c.Expected) << "drawn " << c.Width << " wide";
    EXPECT_EQ(collection.SourceWidthFor(1, 16), 48);
    EXPECT_EQ(collection.SourceWidthFor(2, 16), 0);
    EXPECT_EQ(collection.Source(0, 32), PngHeader(32));
    EXPECT_TRUE(collection.Source(0, 24).empty());
}

TEST(SizedImageCollection, RefusesWhatIsNotAPng) {
    TSizedImageCollection collection;
    for (const std::string& bytes : {std::string(), std::string("GIF89a") + std::string(30, '\0'),
                                     PngHeader(0), PngHeader(16).substr(0, 20)})
        EXPECT_FALSE(collection.Add("key", bytes));
    EXPECT_EQ(collection.Count(), 0);
}

TEST(SizedImageList, GivesTheBuiltInKeyAtEachScaleAndAGreyVersion) {
    TSizedImageCollection collection;
    ASSERT_TRUE(collection.Add("key", ProgramResource("CRV_KEY_16")));
    ASSERT_TRUE(collection.Add("key", ProgramResource("CRV_KEY_32")));
    TSizedImageList list;
    list.SetImageCollection(&collection);
    EXPECT_EQ(list.Add("door"), -1);
    ASSERT_EQ(list.Add("key"), 0);
    EXPECT_EQ(list.Name(0), "key");
    EXPECT_EQ(list.Name(0, true), "key_Disabled");
    EXPECT_EQ(list.Name(1), "");

    void* normal = list.Picture(0, false, 1);
    void* grey = list.Picture(0, true, 1);
    void* large = list.Picture(0, false, 2);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(grey, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_NE(normal, grey);
    EXPECT_NE(normal, large);
    // Made once, then kept.
    EXPECT_EQ(list.Picture(0, true, 1), grey);
    EXPECT_EQ(list.Picture(1, false, 1), nullptr);
}
