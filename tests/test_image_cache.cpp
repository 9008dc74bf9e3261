#include <gtest/gtest.h>

#include <string>

#include "framework/image_cache.h"
#include "tests/headless.h"

namespace
{
// Writes a one-colour image to disk and loads it into the slot, as the game loads its sheets.
int load_solid(int slot, int colour)
{
    BITMAP* bmp = make_test_bitmap(4, 4, colour);
    int iPosition = load_into_cache(slot, bmp);
    destroy_bitmap(bmp);
    return iPosition;
}

int colour_of(int slot)
{
    BITMAP* bmp = IMAGE_CACHE::get(slot);
    return bmp == nullptr ? -1 : getpixel(bmp, 1, 1);
}

class ImageCache : public ::testing::Test
{
protected:
    void SetUp() override { IMAGE_CACHE::destroy_all(); }
    void TearDown() override { IMAGE_CACHE::destroy_all(); }
};
}

TEST_F(ImageCache, SlotsHandOutTheImageLastLoadedIntoThem)
{
    EXPECT_EQ(load_solid(0, 0xFF0000), 0);
    EXPECT_EQ(load_solid(1, 0x00FF00), 1);
    EXPECT_EQ(colour_of(0), 0xFF0000);
    EXPECT_EQ(colour_of(1), 0x00FF00);
    EXPECT_EQ(colour_of(-5), 0xFF0000) << "a negative slot counts as slot 0";

    // Loading a slot again keeps the old image cached; the slot names the new one.
    EXPECT_EQ(load_solid(0, 0x0000FF), 2);
    EXPECT_EQ(IMAGE_CACHE::vImages.size(), 3u);
    EXPECT_EQ(colour_of(0), 0x0000FF);
    EXPECT_EQ(colour_of(1), 0x00FF00);

    IMAGE_CACHE::destroy_all();
    EXPECT_TRUE(IMAGE_CACHE::vImages.empty());
    EXPECT_TRUE(IMAGE_CACHE::vSlots.empty());
    IMAGE_CACHE::destroy_all();
}

TEST_F(ImageCache, SkippedSlotsNameTheFirstImage)
{
    EXPECT_EQ(load_solid(2, 0xABCDEF), 0);
    EXPECT_EQ(IMAGE_CACHE::vSlots.size(), 3u);
    for (int iSlot = 0; iSlot <= 2; ++iSlot)
        EXPECT_EQ(colour_of(iSlot), 0xABCDEF) << "slot " << iSlot;
}

TEST_F(ImageCache, NegativeSlotIsFilledAsSlotZero)
{
    EXPECT_EQ(IMAGE_CACHE::add(-3, make_test_bitmap(2, 2, 0x445566)), 0);
    EXPECT_EQ(IMAGE_CACHE::vSlots.size(), 1u);
    EXPECT_EQ(colour_of(0), 0x445566);
}

TEST_F(ImageCache, SlotsNeverLoadedGiveNothing)
{
    EXPECT_EQ(IMAGE_CACHE::get(0), nullptr) << "empty cache";
    EXPECT_EQ(IMAGE_CACHE::get(-1), nullptr);
    load_solid(0, 0x112233);
    EXPECT_EQ(IMAGE_CACHE::get(1), nullptr);
    EXPECT_EQ(IMAGE_CACHE::get(1000), nullptr);
}

TEST_F(ImageCache, EraseHandsTheImageBackAndSlotsKeepTheirImages)
{
    load_solid(0, 0xFF0000);
    load_solid(1, 0x00FF00);
    BITMAP* first = IMAGE_CACHE::vImages[0];
    IMAGE_CACHE::erase(0);
    EXPECT_EQ(IMAGE_CACHE::get(0), nullptr) << "its image is gone";
    EXPECT_EQ(colour_of(1), 0x00FF00) << "the later image moved up and its slot followed";
    IMAGE_CACHE::erase(7);
    EXPECT_EQ(IMAGE_CACHE::vImages.size(), 1u);
    destroy_bitmap(first);
}

TEST(ImageCacheDeathTest, MissingSheetEndsWithMessageAndCodeOne)
{
    EXPECT_EXIT_SAYING(IMAGE_CACHE::load(0, "./no_such_dir/Nodes.pcx"), 1,
                       "ERROR:  Could not find/open '\\./no_such_dir/Nodes\\.pcx'");
}
