#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/image_cache.h"
#include "framework/layer.h"
#include "framework/sprite.h"
#include "tests/headless.h"

namespace
{
// The sheet in slot 0: four columns and two rows of 8x8 cells, each one colour with a
// white left column whose top pixel is MAGENTA; so a draw shows which cell it took,
// whether the mask held, and which way round the cell is.
const int CELL = 8;
const int CELL_COLOURS[2][4] = {{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00},
                                {0x00FFFF, 0x808080, 0x800000, 0x008000}};
const int MARK = 0xFFFFFF;
const int BACK = 0x102030;

// Slot 1: two 4x4 cells, the first fully opaque, the second opaque only in its middle 2x2.
void load_fixture_sheets()
{
    BITMAP* sheet = make_test_bitmap(4 * CELL, 2 * CELL, MAGENTA);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
        {
            rectfill(sheet, c * CELL, r * CELL, c * CELL + CELL - 1, r * CELL + CELL - 1,
                     CELL_COLOURS[r][c]);
            vline(sheet, c * CELL, r * CELL + 1, r * CELL + CELL - 1, MARK);
            putpixel(sheet, c * CELL, r * CELL, MAGENTA);
        }
    load_into_cache(0, sheet);
    destroy_bitmap(sheet);

    BITMAP* small = make_test_bitmap(8, 4, MAGENTA);
    rectfill(small, 0, 0, 3, 3, GREEN);
    rectfill(small, 5, 1, 6, 2, GREEN);
    load_into_cache(1, small);
    destroy_bitmap(small);
}

struct PROBE
{
    int x;
    int y;
    int colour;
};

void expect_pixels(BITMAP* bmp, const std::vector<PROBE>& probes, const std::string& sWhat)
{
    for (const PROBE& p : probes)
        EXPECT_EQ(getpixel(bmp, p.x, p.y), p.colour) << sWhat << " at (" << p.x << ", " << p.y << ")";
}

int half_over_back(int colour)
{
    // The blender at alpha 128 over BACK.
    auto mix = [](int a, int b) { return (a * 128 + b * 127) / 255; };
    int r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    int br = (BACK >> 16) & 0xFF, bg = (BACK >> 8) & 0xFF, bb = BACK & 0xFF;
    return (mix(r, br) << 16) | (mix(g, bg) << 8) | mix(b, bb);
}

bool near(int a, int b)
{
    for (int iShift = 0; iShift <= 16; iShift += 8)
    {
        int d = ((a >> iShift) & 0xFF) - ((b >> iShift) & 0xFF);
        if (d < -2 || d > 2)
            return false;
    }
    return true;
}

class SpriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        IMAGE_CACHE::destroy_all();
        load_fixture_sheets();
        CAMERA* c = CAMERA::current();
        c->reset(320, 240);
        c->zoom_to(1.0f, 0);
        c->set_scale(1.0f);
        c->enable_transform();
        game_time = 0;
        set_trans_blender(0, 0, 0, 128);
        target = make_test_bitmap(64, 64, BACK);
    }
    void TearDown() override
    {
        destroy_bitmap(target);
        IMAGE_CACHE::destroy_all();
        game_time = 0;
    }
    void clear() { clear_to_color(target, BACK); }

    BITMAP* target = nullptr;
};
}

TEST_F(SpriteTest, FrameSelectionByColumnAndRow)
{
    struct CASE
    {
        unsigned int iColumn, iRow;
        unsigned int iWant_column, iWant_row;
    };
    const CASE cases[] = {
        {0, 0, 0, 0}, {3, 0, 3, 0}, {1, 1, 1, 1}, {3, 1, 3, 1},
        {4, 1, 0, 1},  // past the right edge falls back to the first column, not the last
        {2, 2, 2, 0},  // and past the bottom to the first row
        {0xFFFFFFFFu, 0, 0, 0},
    };
    LAYER layer(0, CELL, CELL, 0, 0, 0);
    for (const CASE& k : cases)
    {
        layer.set_frame(k.iColumn, k.iRow);
        EXPECT_EQ(layer.iColumn, k.iWant_column);
        EXPECT_EQ(layer.iRow, k.iWant_row);
        clear();
        layer.draw(target, 10, 20);
        std::string sWhat = "frame " + std::to_string(k.iColumn) + "," + std::to_string(k.iRow);
        expect_pixels(target, {{14, 24, CELL_COLOURS[k.iWant_row][k.iWant_column]},
                               {10, 24, MARK},
                               {10, 20, BACK},  // MAGENTA stays transparent
                               {18, 24, BACK}},
                      sWhat);
    }

    // A nested layer has no sheet to check against.
    LAYER nested(new SPRITE(), 0, 0, 0);
    nested.set_column(99);
    EXPECT_EQ(nested.iColumn, 99u);
}

TEST_F(SpriteTest, FrameLargerThanTheSheetIsCutToIt)
{
    LAYER layer(0, 64, 64, 0, 0, 0);
    EXPECT_EQ(layer.width(), 32);
    EXPECT_EQ(layer.height(), 16);
    layer.set_translucent(true);
    layer.draw(target, 0, 0);
    ASSERT_NE(layer.frame, nullptr);
    EXPECT_EQ(layer.frame->w, 32);
    EXPECT_EQ(layer.frame->h, 16);
}

// Every map node and edge waypoint holds two sprites, and the game only ever draws them
// opaque and unturned: their scratch bitmaps would be memory nobody uses.
TEST_F(SpriteTest, ScratchBitmapsAreMadeOnlyByTheDrawsThatNeedThem)
{
    SPRITE sprite(0, CELL, CELL);
    LAYER* layer = sprite.l_Layers.front();
    auto expect_no_scratch = [&](const char* sWhen)
    {
        EXPECT_EQ(layer->frame, nullptr) << sWhen;
        EXPECT_EQ(sprite.composite, nullptr) << sWhen;
        EXPECT_EQ(sprite.scratch, nullptr) << sWhen;
    };
    expect_no_scratch("built");
    sprite.draw_scaled(target, 10, 10, 6, 6);
    sprite.draw(target, 20, 20);
    expect_no_scratch("after the node icon's draws");
    EXPECT_EQ(getpixel(target, 12, 12), CELL_COLOURS[0][0]) << "and they drew";

    sprite.set_angle(64);
    sprite.draw(target, 20, 20);
    ASSERT_NE(layer->frame, nullptr) << "a turned draw needs the frame buffer";
    EXPECT_EQ(layer->frame->w, CELL);
    EXPECT_EQ(layer->frame->h, CELL);
    BITMAP* bmpFirst = layer->frame;
    sprite.draw_scaled_mirrored(target, 20, 20, 8, 8);
    EXPECT_EQ(layer->frame, bmpFirst) << "and keeps it";
}

TEST_F(SpriteTest, DrawModes)
{
    enum
    {
        PLAIN,
        SCALED,
        MIRRORED,
        SCALED_MIRRORED
    };
    const int RED = CELL_COLOURS[0][0];
    struct CASE
    {
        const char* sName;
        int iMode;
        int iAngle;
        bool bTranslucent;
        std::vector<PROBE> probes;
        int iBox = 16;
    };
    // Drawn at (10, 10); the scaled draws fill a 16x16 box unless the case says otherwise.
    const std::vector<CASE> cases = {
        {"plain", PLAIN, 0, false, {{10, 10, BACK}, {10, 13, MARK}, {13, 13, RED}, {17, 17, RED}, {18, 13, BACK}}},
        {"stretched", SCALED, 0, false,
         {{10, 10, BACK}, {11, 11, BACK}, {10, 13, MARK}, {11, 13, MARK}, {12, 13, RED}, {25, 25, RED}, {26, 20, BACK}, {20, 26, BACK}}},
        // A quarter turn clockwise: the left column becomes the top row.
        {"turned", PLAIN, 64, false, {{13, 10, MARK}, {17, 10, BACK}, {10, 14, RED}, {17, 17, RED}}},
        {"turned stretched", SCALED, 64, false,
         {{16, 10, MARK}, {16, 11, MARK}, {16, 12, RED}, {25, 10, BACK}, {10, 20, RED}, {25, 25, RED}, {26, 20, BACK}}},
        {"mirrored", MIRRORED, 0, false, {{17, 10, BACK}, {17, 13, MARK}, {10, 13, RED}, {16, 13, RED}}},
        {"mirrored stretched", SCALED_MIRRORED, 0, false,
         {{25, 10, BACK}, {25, 13, MARK}, {24, 13, MARK}, {23, 13, RED}, {10, 13, RED}, {26, 13, BACK}}},
        // Mirrored, then turned a quarter clockwise: the marked column ends at the bottom.
        {"mirrored turned", MIRRORED, 64, false, {{13, 17, MARK}, {17, 17, BACK}, {13, 10, RED}}},
        {"mirrored turned stretched", SCALED_MIRRORED, 64, false,
         {{16, 25, MARK}, {16, 24, MARK}, {16, 23, RED}, {25, 25, BACK}, {16, 10, RED}}},
        // Translucent draws blend and ignore the angle.
        {"translucent", PLAIN, 64, true, {{10, 10, BACK}, {10, 13, half_over_back(MARK)}, {13, 13, half_over_back(RED)}}},
        {"translucent stretched", SCALED, 0, true,
         {{10, 10, BACK}, {11, 13, half_over_back(MARK)}, {20, 20, half_over_back(RED)}, {26, 20, BACK}}},
        {"translucent mirrored", MIRRORED, 0, true, {{17, 10, BACK}, {17, 13, half_over_back(MARK)}, {10, 13, half_over_back(RED)}}},
        // Stretched into the 8x8 frame buffer, so cut at its size, and the whole buffer mirrored:
        // a box wider than the frame shows only the frame's part ...
        {"translucent mirrored stretched", SCALED_MIRRORED, 0, true,
         {{17, 10, BACK}, {17, 13, half_over_back(MARK)}, {16, 13, half_over_back(MARK)},
          {15, 13, half_over_back(RED)}, {10, 13, half_over_back(RED)}, {18, 13, BACK}, {20, 20, BACK}}},
        // ... and a narrower one lands at the frame's right-hand side.
        {"translucent mirrored shrunk", SCALED_MIRRORED, 0, true,
         {{17, 12, half_over_back(MARK)}, {14, 12, half_over_back(RED)}, {16, 11, half_over_back(RED)},
          {17, 10, BACK}, {13, 12, BACK}, {10, 11, BACK}, {14, 14, BACK}},
         4},
    };
    for (const CASE& k : cases)
    {
        LAYER layer(0, CELL, CELL, 0, 0, 0);
        layer.set_angle(k.iAngle);
        layer.set_translucent(k.bTranslucent);
        clear();
        switch (k.iMode)
        {
        case PLAIN: layer.draw(target, 10, 10); break;
        case SCALED: layer.draw_scaled(target, 10, 10, k.iBox, k.iBox); break;
        case MIRRORED: layer.draw_mirrored(target, 10, 10); break;
        default: layer.draw_scaled_mirrored(target, 10, 10, k.iBox, k.iBox); break;
        }
        for (const PROBE& p : k.probes)
        {
            int iGot = getpixel(target, p.x, p.y);
            EXPECT_TRUE(k.bTranslucent ? near(iGot, p.colour) : iGot == p.colour)
                << k.sName << " at (" << p.x << ", " << p.y << "): got " << std::hex << iGot
                << " want " << p.colour;
        }

        // Hidden, the same draw shows nothing.
        layer.hide();
        clear();
        layer.draw(target, 10, 10);
        layer.draw_scaled(target, 10, 10, 16, 16);
        layer.draw_mirrored(target, 10, 10);
        layer.draw_scaled_mirrored(target, 10, 10, 16, 16);
        expect_pixels(target, {{13, 13, BACK}, {20, 20, BACK}}, std::string(k.sName) + " hidden");
    }
    ASSERT_NE(LAYER::rotation_buffer, nullptr) << "made on first use";
    EXPECT_EQ(LAYER::rotation_buffer->w, 640);
    EXPECT_EQ(LAYER::rotation_buffer->h, 480);
}

TEST_F(SpriteTest, AlphaAndTranslucencyBothMakeALayerBlend)
{
    LAYER layer(0, CELL, CELL, 0, 0, 0);
    auto drawn = [&]() {
        clear();
        layer.draw(target, 0, 0);
        return getpixel(target, 4, 4);
    };
    EXPECT_EQ(drawn(), CELL_COLOURS[0][0]);
    layer.set_alpha(254);
    EXPECT_TRUE(near(drawn(), half_over_back(CELL_COLOURS[0][0])));
    layer.set_alpha(255);
    EXPECT_EQ(drawn(), CELL_COLOURS[0][0]);
    layer.toggle_translucent();
    EXPECT_TRUE(near(drawn(), half_over_back(CELL_COLOURS[0][0])));
    layer.toggle_translucent();
    EXPECT_EQ(drawn(), CELL_COLOURS[0][0]);
}

TEST_F(SpriteTest, AnimationTimingAgainstGameTime)
{
    struct CASE
    {
        const char* sName;
        void (*setup)(LAYER&);
        std::vector<int> vChanges;  // ticks at which the column moves on, up to tick 13
    };
    const CASE cases[] = {
        {"list {3}", [](LAYER& l) { l.set_frame_durations({3}); }, {1, 5, 9, 13}},
        {"duration 3", [](LAYER& l) { l.set_frame_duration(3); }, {4, 8, 12}},
        {"list {1, 2}", [](LAYER& l) { l.set_frame_durations({1, 2}); }, {1, 3, 6, 8, 11, 13}},
        {"empty list counts as 0", [](LAYER& l) { l.set_frame_durations({}); },
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"animation off", [](LAYER& l) { l.set_animating(false); }, {}},
    };
    for (const CASE& k : cases)
    {
        LAYER layer(0, CELL, CELL, 0, 0, 0);
        k.setup(layer);
        std::vector<int> vChanges;
        unsigned int iColumn = layer.iColumn;
        for (game_time = 1; game_time <= 13; ++game_time)
        {
            layer.update();
            if (layer.iColumn != iColumn)
            {
                vChanges.push_back(game_time);
                // Past the last column the frame returns to the first.
                EXPECT_EQ(layer.iColumn, (iColumn + 1) % 4) << k.sName;
                iColumn = layer.iColumn;
            }
        }
        EXPECT_EQ(vChanges, k.vChanges) << k.sName;
    }
}

TEST_F(SpriteTest, RotationStepsOncePerExceededInterval)
{
    LAYER layer(0, CELL, CELL, 0, 0, 0);
    layer.set_animating(false);
    layer.start_rotating(64, 0);
    std::vector<int> vAngles;
    for (game_time = 1; game_time <= 4; ++game_time)
    {
        layer.update();
        layer.update();  // twice in one tick turns once
        vAngles.push_back(layer.iAngle);
    }
    EXPECT_EQ(vAngles, (std::vector<int>{64, 128, 192, 256}));

    layer.stop_rotating();
    EXPECT_EQ(layer.iAngle, 0);
    layer.start_rotating(10, 2);
    vAngles.clear();
    for (; game_time <= 12; ++game_time)
    {
        layer.update();
        vAngles.push_back(layer.iAngle);
    }
    // Last turned at tick 4, so every third tick from 7.
    EXPECT_EQ(vAngles, (std::vector<int>{0, 0, 10, 10, 10, 20, 20, 20}));
}

TEST_F(SpriteTest, LayersStayInDepthOrderAndTheDeepestIsDrawnLast)
{
    SPRITE s;
    ASSERT_TRUE(s.add_layer(0, CELL, CELL, 5));
    ASSERT_TRUE(s.add_layer(0, CELL, CELL, -1));
    ASSERT_TRUE(s.add_layer(0, CELL, CELL, 3));
    s.set_layer_column(0, 5);
    s.set_layer_column(1, -1);
    s.set_layer_column(2, 3);
    EXPECT_FALSE(s.add_layer(0, CELL, CELL, 3));
    auto depths = [&]() {
        std::vector<int> v;
        for (LAYER* l : s.l_Layers)
            v.push_back(l->get_depth());
        return v;
    };
    auto top_colour = [&]() {
        clear();
        s.draw_scaled(target, 0, 0, CELL, CELL);
        return getpixel(target, 4, 4);
    };
    EXPECT_EQ(depths(), (std::vector<int>{-1, 3, 5}));

    // The camera at (320, 240) and scale 1 maps world positions onto the same pixels.
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][0]) << "depth 5 on top";
    s.hide_layer(5);
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][2]) << "then depth 3";
    s.show_layer(5);

    EXPECT_FALSE(s.set_layer_depth(3, 5));
    EXPECT_FALSE(s.set_layer_depth(3, 3));
    EXPECT_EQ(depths(), (std::vector<int>{-1, 3, 5}));
    EXPECT_TRUE(s.set_layer_depth(3, 7));
    EXPECT_EQ(depths(), (std::vector<int>{-1, 5, 7}));
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][2]) << "the old depth 3 is now on top";
    EXPECT_TRUE(s.set_layer_depth(4, 8));
    EXPECT_EQ(depths(), (std::vector<int>{-1, 5, 7}));

    s.swap_layer_depths(-1, 7);
    EXPECT_EQ(depths(), (std::vector<int>{-1, 5, 7}));
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][1]) << "swapped to the top";
    s.swap_layer_depths(-1, 9);
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][1]);

    s.remove_layer(7);
    s.remove_layer(42);
    EXPECT_EQ(depths(), (std::vector<int>{-1, 5}));
    EXPECT_EQ(top_colour(), CELL_COLOURS[0][0]);

    // A refused child stays the caller's.
    SPRITE* child = new SPRITE();
    EXPECT_FALSE(s.add_child(child, 0, 0, 5));
    EXPECT_EQ(s.get_layer_child(5), nullptr);
    EXPECT_TRUE(s.add_child(child, 0, 0, 9));
    EXPECT_EQ(s.get_layer_child(9), child);
}

TEST_F(SpriteTest, SizeCoversEveryLayerAndTheOrigin)
{
    SPRITE one(0, 64, 64);
    EXPECT_EQ(one.width(), 32) << "frame cut to the sheet";
    EXPECT_EQ(one.height(), 16);

    SPRITE two;
    two.add_layer(0, 20, CELL, -10, 0, 0);
    two.add_layer(0, 16, CELL, 30, 2, 1);
    EXPECT_EQ(two.width(), 56);
    EXPECT_EQ(two.height(), 10);

    SPRITE offset;
    offset.add_layer(0, 10, CELL, 5, 0, 0);
    EXPECT_EQ(offset.width(), 15);

    SPRITE empty;
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
}

TEST_F(SpriteTest, DrawsThroughTheCameraAtAZoom)
{
    CAMERA* c = CAMERA::current();
    c->set_position(320, 240);
    c->set_scale(3.0f);
    SPRITE s(0, CELL, CELL);
    s.set_column(3);
    s.set_row(1);
    const int GREEN_CELL = CELL_COLOURS[1][3];
    // World (215, 165) is screen (5, 15); 6x6 world units are an 18x18 box.
    s.draw_scaled(target, 215, 165, 6, 6);
    expect_pixels(target,
                  {{5, 15, BACK}, {5, 20, MARK}, {6, 20, MARK}, {9, 20, GREEN_CELL}, {22, 32, GREEN_CELL},
                   {23, 25, BACK}, {10, 33, BACK}, {4, 20, BACK}},
                  "scaled");

    clear();
    s.draw_scaled_mirrored(target, 215, 165, 6, 6);
    expect_pixels(target, {{22, 15, BACK}, {22, 20, MARK}, {21, 20, MARK}, {5, 20, GREEN_CELL}, {23, 20, BACK}},
                  "mirrored");

    // The natural size is taken as world units too.
    clear();
    s.draw(target, 215, 165);
    expect_pixels(target, {{28, 38, GREEN_CELL}, {29, 38, BACK}}, "natural size");

    clear();
    s.hide();
    s.draw_scaled(target, 215, 165, 6, 6);
    s.draw_scaled_mirrored(target, 215, 165, 6, 6);
    expect_pixels(target, {{15, 25, BACK}}, "hidden");
}

TEST_F(SpriteTest, OutlineIsTheSilhouetteGrownByOnePixel)
{
    SPRITE s(1, 4, 4);
    s.make_outline(RED);
    ASSERT_NE(s.composite, nullptr);
    BITMAP* composite = s.composite;
    ASSERT_EQ(composite->w, 5);
    ASSERT_EQ(composite->h, 5);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(getpixel(composite, i, j), (i == 0 || j == 0) ? MAGENTA : RED) << i << "," << j;

    // Same size: the image is reused and repainted from the middle 2x2.
    s.set_column(1);
    s.make_outline(RED);
    EXPECT_EQ(s.composite, composite);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            bool bIn = i >= 1 && i <= 3 && j >= 1 && j <= 3;
            EXPECT_EQ(getpixel(composite, i, j), bIn ? RED : MAGENTA) << i << "," << j;
        }
    s.draw_outline(BLUE);
    EXPECT_EQ(getpixel(s.composite, 2, 2), BLUE);

    // Drawn behind the layers: around the middle 2x2 only the rim shows.
    clear();
    CAMERA::current()->set_position(320, 240);
    s.draw_scaled(target, 10, 10, 5, 5);  // camera at scale 1: screen (10, 10)
    expect_pixels(target, {{13, 13, GREEN}, {11, 11, BLUE}, {10, 10, BACK}}, "outlined draw");

    // A new size rebuilds it.
    s.add_layer(1, 4, 4, 6, 0, 1);
    s.make_outline(RED);
    EXPECT_EQ(s.composite->w, 11);
    s.free_outline();
    EXPECT_EQ(s.composite, nullptr);
    EXPECT_EQ(s.scratch, nullptr);
}

TEST_F(SpriteTest, LayersOfAnEmptySlotDrawNothing)
{
    LAYER layer(7, CELL, CELL, 0, 0, 0);
    EXPECT_EQ(layer.sheet, nullptr);
    layer.set_angle(64);
    layer.draw(target, 0, 0);
    layer.draw_scaled(target, 0, 0, 16, 16);
    layer.draw_mirrored(target, 0, 0);
    layer.draw_scaled_mirrored(target, 0, 0, 16, 16);
    layer.shift_hue(10);
    SPRITE s(9, CELL, CELL);
    s.draw_scaled(target, 0, 0, 6, 6);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(getpixel(target, i, i), BACK);
}

TEST_F(SpriteTest, ColourShiftRecoloursAPrivateCopy)
{
    LAYER layer(0, CELL, CELL, 0, 0, 0);
    LAYER other(0, CELL, CELL, 0, 0, 0);
    BITMAP* cached = IMAGE_CACHE::get(0);
    layer.shift_hue(30);
    layer.shift_hue(30);
    EXPECT_TRUE(layer.bOwns_sheet);
    int iShifted = getpixel(layer.sheet, 4, 4);
    EXPECT_EQ((iShifted >> 16) & 0xFF, 255);
    EXPECT_GE((iShifted >> 8) & 0xFF, 250) << "red turned twice by 30 degrees is yellow";
    EXPECT_EQ(iShifted & 0xFF, 0);
    EXPECT_EQ(getpixel(layer.sheet, 0, 0), MAGENTA) << "the mask is never shifted";
    EXPECT_EQ(getpixel(cached, 4, 4), CELL_COLOURS[0][0]) << "the cached sheet keeps its colours";
    other.draw(target, 0, 0);
    EXPECT_EQ(getpixel(target, 4, 4), CELL_COLOURS[0][0]);

    // Brightening past full stays within each colour channel.
    layer.set_image(0);
    EXPECT_FALSE(layer.bOwns_sheet);
    EXPECT_EQ(layer.sheet, cached);
    layer.shift_value(0.5f);
    EXPECT_EQ(getpixel(layer.sheet, 4, 4), 0xFF0000);
    EXPECT_EQ(getpixel(layer.sheet, 8 + 4, 8 + 4), 0xFFFFFF) << "grey 128 brightened to white";
}

TEST_F(SpriteTest, NestedSpriteFillsTheBoxItsLayerWasGiven)
{
    CAMERA* c = CAMERA::current();
    c->set_position(320, 240);
    c->set_scale(3.0f);
    SPRITE parent;
    SPRITE* child = new SPRITE(0, CELL, CELL);
    child->set_column(1);
    ASSERT_TRUE(parent.add_child(child, 0, 0, 0));
    EXPECT_EQ(parent.width(), CELL);

    // The camera is applied once: world (215, 165) and 6x6 units are the 18x18 box at (5, 15).
    parent.draw_scaled(target, 215, 165, 6, 6);
    expect_pixels(target, {{9, 20, CELL_COLOURS[0][1]}, {22, 32, CELL_COLOURS[0][1]}, {23, 25, BACK}, {9, 33, BACK}},
                  "nested");

    parent.set_alpha(200);
    EXPECT_EQ(child->l_Layers.front()->iAlpha, 200) << "relayed to the nested sprite's layers";

    clear();
    parent.hide_layer(0);
    parent.draw_scaled(target, 215, 165, 6, 6);
    EXPECT_EQ(getpixel(target, 9, 20), BACK);
}

TEST_F(SpriteTest, UnscaledDrawIgnoresTheCamera)
{
    CAMERA::current()->set_scale(3.0f);
    SPRITE s(0, CELL, CELL);
    s.make_outline(BLUE);
    s.draw_unscaled(target, 10.7f, 10);
    // Only the 9x9 outline, in bitmap pixels and upside down: its empty first row lands at
    // the bottom. The layers have no unscaled picture.
    expect_pixels(target,
                  {{10, 14, BACK}, {11, 10, BLUE}, {18, 10, BLUE}, {14, 14, BLUE}, {18, 17, BLUE},
                   {11, 18, BACK}, {19, 14, BACK}, {14, 19, BACK}},
                  "unscaled");

    // A nested sprite still shows at its natural size in its layer's unscaled draw, so the
    // parent's outline has the child's silhouette.
    SPRITE parent;
    ASSERT_TRUE(parent.add_child(new SPRITE(0, CELL, CELL), 0, 0, 0));
    parent.make_outline(BLUE);
    ASSERT_NE(parent.composite, nullptr);
    EXPECT_EQ(getpixel(parent.composite, 4, 4), BLUE);
    EXPECT_EQ(getpixel(parent.composite, 0, 4), MAGENTA);
}
