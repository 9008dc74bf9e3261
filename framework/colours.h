#pragma once

// Colours are ints packed as 0xRRGGBB, handed unchanged to Allegro as 32-bit pixels.
// Channels are not clamped: a value past 255 carries into the next channel.

struct RGB_TRIPLE
{
    int r;
    int g;
    int b;
};

constexpr int make_colour(int r, int g, int b)
{
    return (int)(b * 1.0) + (int)(g * 256.0) + (int)(r * 65536.0);
}

// Truncating remainders: a negative colour gives a negative channel, not a masked one.
constexpr int colour_red(int c) { return ((int)(c / 65536.0)) % 256; }
constexpr int colour_green(int c) { return ((int)(c / 256.0)) % 256; }
constexpr int colour_blue(int c) { return c % 256; }

constexpr RGB_TRIPLE colour_to_rgb(int c)
{
    return RGB_TRIPLE{colour_red(c), colour_green(c), colour_blue(c)};
}

// The X11 colour table by name, in its order. GRAY is a dark (60, 60, 60) and RED a
// softer (200, 0, 0) on purpose; GREY keeps the X11 grey.
inline constexpr int SNOW = make_colour(255, 250, 250);
inline constexpr int GHOST_WHITE = make_colour(248, 248, 255);
inline constexpr int WHITE_SMOKE = make_colour(245, 245, 245);
inline constexpr int GAINSBORO = make_colour(220, 220, 220);
inline constexpr int FLORAL_WHITE = make_colour(255, 250, 240);
inline constexpr int OLD_LACE = make_colour(253, 245, 230);
inline constexpr int LINEN = make_colour(250, 240, 230);
inline constexpr int ANTIQUE_WHITE = make_colour(250, 235, 215);
inline constexpr int PAPAYA_WHIP = make_colour(255, 239, 213);
inline constexpr int BLANCHED_ALMOND = make_colour(255, 235, 205);
inline constexpr int BISQUE = make_colour(255, 228, 196);
inline constexpr int PEACH_PUFF = make_colour(255, 218, 185);
inline constexpr int NAVAJO_WHITE = make_colour(255, 222, 173);
inline constexpr int MOCCASIN = make_colour(255, 228, 181);
inline constexpr int CORNSILK = make_colour(255, 248, 220);
inline constexpr int IVORY = make_colour(255, 255, 240);
inline constexpr int LEMON_CHIFFON = make_colour(255, 250, 205);
inline constexpr int SEASHELL = make_colour(255, 245, 238);
inline constexpr int HONEYDEW = make_colour(240, 255, 240);
inline constexpr int MINT_CREAM = make_colour(245, 255, 250);
inline constexpr int AZURE = make_colour(240, 255, 255);
inline constexpr int ALICE_BLUE = make_colour(240, 248, 255);
inline constexpr int LAVENDER = make_colour(230, 230, 250);
inline constexpr int LAVENDER_BLUSH = make_colour(255, 240, 245);
inline constexpr int MISTY_ROSE = make_colour(255, 228, 225);
inline constexpr int WHITE = make_colour(255, 255, 255);
inline constexpr int BLACK = make_colour(0, 0, 0);
inline constexpr int DARK_SLATE_GRAY = make_colour(47, 79, 79);
inline constexpr int DARK_SLATE_GREY = make_colour(47, 79, 79);
inline constexpr int DIM_GRAY = make_colour(105, 105, 105);
inline constexpr int DIM_GREY = make_colour(105, 105, 105);
inline constexpr int SLATE_GRAY = make_colour(112, 128, 144);
inline constexpr int SLATE_GREY = make_colour(112, 128, 144);
inline constexpr int LIGHT_SLATE_GRAY = make_colour(119, 136, 153);
inline constexpr int LIGHT_SLATE_GREY = make_colour(119, 136, 153);
inline constexpr int GRAY = make_colour(60, 60, 60);
inline constexpr int GREY = make_colour(190, 190, 190);
inline constexpr int LIGHT_GREY = make_colour(211, 211, 211);
inline constexpr int LIGHT_GRAY = make_colour(211, 211, 211);
inline constexpr int MIDNIGHT_BLUE = make_colour(25, 25, 112);
inline constexpr int NAVY = make_colour(0, 0, 128);
inline constexpr int NAVY_BLUE = make_colour(0, 0, 128);
inline constexpr int CORNFLOWER_BLUE = make_colour(100, 149, 237);
inline constexpr int DARK_SLATE_BLUE = make_colour(72, 61, 139);
inline constexpr int SLATE_BLUE = make_colour(106, 90, 205);
inline constexpr int MEDIUM_SLATE_BLUE = make_colour(123, 104, 238);
inline constexpr int LIGHT_SLATE_BLUE = make_colour(132, 112, 255);
inline constexpr int MEDIUM_BLUE = make_colour(0, 0, 205);
inline constexpr int ROYAL_BLUE = make_colour(65, 105, 225);
inline constexpr int BLUE = make_colour(0, 0, 255);
inline constexpr int DODGER_BLUE = make_colour(30, 144, 255);
inline constexpr int DEEP_SKY_BLUE = make_colour(0, 191, 255);
inline constexpr int SKY_BLUE = make_colour(135, 206, 235);
inline constexpr int LIGHT_SKY_BLUE = make_colour(135, 206, 250);
inline constexpr int STEEL_BLUE = make_colour(70, 130, 180);
inline constexpr int LIGHT_STEEL_BLUE = make_colour(176, 196, 222);
inline constexpr int LIGHT_BLUE = make_colour(173, 216, 230);
inline constexpr int POWDER_BLUE = make_colour(176, 224, 230);
inline constexpr int PALE_TURQUOISE = make_colour(175, 238, 238);
inline constexpr int DARK_TURQUOISE = make_colour(0, 206, 209);
inline constexpr int MEDIUM_TURQUOISE = make_colour(72, 209, 204);
inline constexpr int TURQUOISE = make_colour(64, 224, 208);
inline constexpr int CYAN = make_colour(0, 255, 255);
inline constexpr int LIGHT_CYAN = make_colour(224, 255, 255);
inline constexpr int CADET_BLUE = make_colour(95, 158, 160);
inline constexpr int MEDIUM_AQUAMARINE = make_colour(102, 205, 170);
inline constexpr int AQUAMARINE = make_colour(127, 255, 212);
inline constexpr int DARK_GREEN = make_colour(0, 100, 0);
inline constexpr int DARK_OLIVE_GREEN = make_colour(85, 107, 47);
inline constexpr int DARK_SEA_GREEN = make_colour(143, 188, 143);
inline constexpr int SEA_GREEN = make_colour(46, 139, 87);
inline constexpr int MEDIUM_SEA_GREEN = make_colour(60, 179, 113);
inline constexpr int LIGHT_SEA_GREEN = make_colour(32, 178, 170);
inline constexpr int PALE_GREEN = make_colour(152, 251, 152);
inline constexpr int SPRING_GREEN = make_colour(0, 255, 127);
inline constexpr int LAWN_GREEN = make_colour(124, 252, 0);
inline constexpr int GREEN = make_colour(0, 255, 0);
inline constexpr int CHARTREUSE = make_colour(127, 255, 0);
inline constexpr int MEDIUM_SPRING_GREEN = make_colour(0, 250, 154);
inline constexpr int GREEN_YELLOW = make_colour(173, 255, 47);
inline constexpr int LIME_GREEN = make_colour(50, 205, 50);
inline constexpr int YELLOW_GREEN = make_colour(154, 205, 50);
inline constexpr int FOREST_GREEN = make_colour(34, 139, 34);
inline constexpr int OLIVE_DRAB = make_colour(107, 142, 35);
inline constexpr int DARK_KHAKI = make_colour(189, 183, 107);
inline constexpr int KHAKI = make_colour(240, 230, 140);
inline constexpr int PALE_GOLDENROD = make_colour(238, 232, 170);
inline constexpr int LIGHT_GOLDENROD_YELLOW = make_colour(250, 250, 210);
inline constexpr int LIGHT_YELLOW = make_colour(255, 255, 224);
inline constexpr int YELLOW = make_colour(255, 255, 0);
inline constexpr int GOLD = make_colour(255, 215, 0);
inline constexpr int LIGHT_GOLDENROD = make_colour(238, 221, 130);
inline constexpr int GOLDENROD = make_colour(218, 165, 32);
inline constexpr int DARK_GOLDENROD = make_colour(184, 134, 11);
inline constexpr int ROSY_BROWN = make_colour(188, 143, 143);
inline constexpr int INDIAN_RED = make_colour(205, 92, 92);
inline constexpr int INDIAN_RED_2 = make_colour(205, 92, 92);
inline constexpr int SADDLE_BROWN = make_colour(139, 69, 19);
inline constexpr int SIENNA = make_colour(160, 82, 45);
inline constexpr int PERU = make_colour(205, 133, 63);
inline constexpr int BURLYWOOD = make_colour(222, 184, 135);
inline constexpr int BEIGE = make_colour(245, 245, 220);
inline constexpr int WHEAT = make_colour(245, 222, 179);
inline constexpr int SANDY_BROWN = make_colour(244, 164, 96);
inline constexpr int TAN = make_colour(210, 180, 140);
inline constexpr int CHOCOLATE = make_colour(210, 105, 30);
inline constexpr int FIREBRICK = make_colour(178, 34, 34);
inline constexpr int BROWN = make_colour(165, 42, 42);
inline constexpr int DARK_SALMON = make_colour(233, 150, 122);
inline constexpr int SALMON = make_colour(250, 128, 114);
inline constexpr int LIGHT_SALMON = make_colour(255, 160, 122);
inline constexpr int ORANGE = make_colour(255, 165, 0);
inline constexpr int DARK_ORANGE = make_colour(255, 140, 0);
inline constexpr int CORAL = make_colour(255, 127, 80);
inline constexpr int LIGHT_CORAL = make_colour(240, 128, 128);
inline constexpr int TOMATO = make_colour(255, 99, 71);
inline constexpr int ORANGE_RED = make_colour(255, 69, 0);
inline constexpr int RED = make_colour(200, 0, 0);
inline constexpr int HOT_PINK = make_colour(255, 105, 180);
inline constexpr int DEEP_PINK = make_colour(255, 20, 147);
inline constexpr int PINK = make_colour(255, 192, 203);
inline constexpr int LIGHT_PINK = make_colour(255, 182, 193);
inline constexpr int PALE_VIOLET_RED = make_colour(219, 112, 147);
inline constexpr int MAROON = make_colour(176, 48, 96);
inline constexpr int MEDIUM_VIOLET_RED = make_colour(199, 21, 133);
inline constexpr int VIOLET_RED = make_colour(208, 32, 144);
inline constexpr int MAGENTA = make_colour(255, 0, 255);
inline constexpr int VIOLET = make_colour(238, 130, 238);
inline constexpr int PLUM = make_colour(221, 160, 221);
inline constexpr int ORCHID = make_colour(218, 112, 214);
inline constexpr int MEDIUM_ORCHID = make_colour(186, 85, 211);
inline constexpr int DARK_ORCHID = make_colour(153, 50, 204);
inline constexpr int DARK_VIOLET = make_colour(148, 0, 211);
inline constexpr int BLUE_VIOLET = make_colour(138, 43, 226);
inline constexpr int PURPLE = make_colour(160, 32, 240);
inline constexpr int MEDIUM_PURPLE = make_colour(147, 112, 219);
inline constexpr int THISTLE = make_colour(216, 191, 216);
inline constexpr int DARK_GREY = make_colour(169, 169, 169);
inline constexpr int DARK_GRAY = make_colour(169, 169, 169);
inline constexpr int DARK_BLUE = make_colour(0, 0, 139);
inline constexpr int DARK_CYAN = make_colour(0, 139, 139);
inline constexpr int DARK_MAGENTA = make_colour(139, 0, 139);
inline constexpr int DARK_RED = make_colour(139, 0, 0);
inline constexpr int LIGHT_GREEN = make_colour(144, 238, 144);
