#include <gtest/gtest.h>

#include "framework/colours.h"

TEST(Colours, PackingIsRRGGBBWithCarry)
{
    EXPECT_EQ(make_colour(200, 0, 0), RED);
    EXPECT_EQ(make_colour(255, 0, 255), MAGENTA);
    EXPECT_EQ(MAGENTA, 0xFF00FF);
    EXPECT_EQ(make_colour(0, 0, 300), 300);
    EXPECT_EQ(make_colour(0, 0, 300), make_colour(0, 1, 44));
    EXPECT_EQ(make_colour(1, -1, 0), 0x00FF00);
}

TEST(Colours, ChannelsUseTruncatingRemainders)
{
    EXPECT_EQ(colour_red(DARK_KHAKI), 189);
    EXPECT_EQ(colour_green(DARK_KHAKI), 183);
    EXPECT_EQ(colour_blue(DARK_KHAKI), 107);
    EXPECT_EQ(colour_blue(-1), -1);
    RGB_TRIPLE t = colour_to_rgb(PURPLE);
    EXPECT_EQ(t.r, 160);
    EXPECT_EQ(t.g, 32);
    EXPECT_EQ(t.b, 240);
}

TEST(Colours, NamedValues)
{
    struct CASE
    {
        int iColour;
        int r, g, b;
        const char* sName;
    };
    const CASE l_Cases[] = {
        {WHITE, 255, 255, 255, "WHITE"},        {BLACK, 0, 0, 0, "BLACK"},
        {GRAY, 60, 60, 60, "GRAY"},             {GREY, 190, 190, 190, "GREY"},
        {RED, 200, 0, 0, "RED"},                {DARK_RED, 139, 0, 0, "DARK_RED"},
        {ROSY_BROWN, 188, 143, 143, "ROSY_BROWN"}, {INDIAN_RED, 205, 92, 92, "INDIAN_RED"},
        {INDIAN_RED_2, 205, 92, 92, "INDIAN_RED_2"}, {YELLOW, 255, 255, 0, "YELLOW"},
        {LIGHT_YELLOW, 255, 255, 224, "LIGHT_YELLOW"}, {OLIVE_DRAB, 107, 142, 35, "OLIVE_DRAB"},
        {GREEN, 0, 255, 0, "GREEN"},            {LIME_GREEN, 50, 205, 50, "LIME_GREEN"},
        {SPRING_GREEN, 0, 255, 127, "SPRING_GREEN"}, {BLUE, 0, 0, 255, "BLUE"},
        {DARK_BLUE, 0, 0, 139, "DARK_BLUE"},    {LIGHT_BLUE, 173, 216, 230, "LIGHT_BLUE"},
        {PURPLE, 160, 32, 240, "PURPLE"},       {SNOW, 255, 250, 250, "SNOW"},
        {LIGHT_GREEN, 144, 238, 144, "LIGHT_GREEN"}, {DARK_GREY, 169, 169, 169, "DARK_GREY"},
    };
    for (const CASE& k : l_Cases)
        EXPECT_EQ(k.iColour, make_colour(k.r, k.g, k.b)) << k.sName;
    EXPECT_NE(GRAY, GREY);
    EXPECT_EQ(LIGHT_GRAY, LIGHT_GREY);
}
