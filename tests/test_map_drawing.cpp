#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/image_cache.h"
#include "framework/sprite.h"
#include "tests/map_fixture.h"

namespace
{
const int BACK = make_colour(40, 80, 120);

// What Allegro's translucent drawing makes of src over dst at alpha: the game's blend.
int blend(int src, int dst, int alpha)
{
    BITMAP* bmp = make_test_bitmap(1, 1, dst);
    set_trans_blender(0, 0, 0, alpha);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    putpixel(bmp, 0, 0, src);
    solid_mode();
    int iResult = getpixel(bmp, 0, 0);
    destroy_bitmap(bmp);
    return iResult;
}

struct PROBE
{
    int x;
    int y;
    int colour;
};

class MapDrawingTest : public MAP_TEST
{
protected:
    void SetUp() override
    {
        MAP_TEST::SetUp();
        key[KEY_M] = key[KEY_H] = 0;
        bmp = make_test_bitmap(640, 480, BACK);
    }
    void TearDown() override
    {
        key[KEY_M] = key[KEY_H] = 0;
        destroy_bitmap(bmp);
        MAP_TEST::TearDown();
        IMAGE_CACHE::destroy_all();
    }
    void clear() { clear_to_color(bmp, BACK); }
    // One frame of the map over a plain background.
    void frame()
    {
        clear();
        map->draw(bmp);
    }
    void expect_pixels(BITMAP* bmpIn, const std::vector<PROBE>& probes, const std::string& sWhat)
    {
        for (const PROBE& p : probes)
            EXPECT_EQ(getpixel(bmpIn, p.x, p.y), p.colour)
                << sWhat << " at (" << p.x << ", " << p.y << "): got " << std::hex << getpixel(bmpIn, p.x, p.y)
                << " want " << p.colour;
    }
    static void zoom(float fX, float fY, float fZoom)
    {
        CAMERA::current()->reset(fX, fY);
        CAMERA::current()->set_scale(fZoom);
    }
    // The token alone, away from every node.
    void token_at(float x, float y) { map->tTraveller->ENTITY::set_position(x, y); }
    static int pixels_of(BITMAP* bmpIn, int colour, int x1, int y1, int x2, int y2)
    {
        int iCount = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                iCount += getpixel(bmpIn, x, y) == colour;
        return iCount;
    }

    // Two 64x64 icons and three 32x32 badges, each a colour of its own, in the image slots.
    static constexpr int ICONS[] = {make_colour(10, 20, 30), make_colour(30, 20, 10)};
    static constexpr int BADGES[] = {make_colour(1, 2, 3), make_colour(4, 5, 6), make_colour(7, 8, 9)};
    static void load_icon_sheets()
    {
        BITMAP* sheet = make_test_bitmap(128, 64, MAGENTA);
        for (int i = 0; i < 2; ++i)
            rectfill(sheet, 64 * i, 0, 64 * i + 63, 63, ICONS[i]);
        load_into_cache(0, sheet);
        destroy_bitmap(sheet);
        sheet = make_test_bitmap(96, 32, MAGENTA);
        for (int i = 0; i < 3; ++i)
            rectfill(sheet, 32 * i, 0, 32 * i + 31, 31, BADGES[i]);
        load_into_cache(1, sheet);
        destroy_bitmap(sheet);
    }

    BITMAP* bmp = nullptr;
};
}

TEST_F(MapDrawingTest, FogIsClearInsideTheSmallRadiusDimmedBetweenAndBlackBeyond)
{
    NODE* n = node_at(200, 200, make_cell(10000)); // sees 40 clear, 60 dimmed
    n->bRevealed = n->bVisited = true;
    token_at(500, 100); // 25 and 35 wherever it stands
    const int DIM = blend(BLACK, BACK, 128);

    frame();
    expect_pixels(bmp, {{230, 200, BLACK}, {520, 100, BLACK}}, "holes show from the next frame");
    frame();
    expect_pixels(bmp,
                  {{230, 200, BACK}, {200, 161, BACK}, {250, 200, DIM}, {200, 250, DIM}, {270, 200, BLACK},
                   {520, 100, BACK}, {530, 100, DIM}, {540, 100, BLACK}, {400, 300, BLACK}},
                  "zoom 1");
    // The token's radii exactly: 25 clear and 35 dimmed.
    expect_pixels(bmp, {{524, 100, BACK}, {526, 100, DIM}, {534, 100, DIM}, {536, 100, BLACK}, {500, 134, DIM},
                        {500, 136, BLACK}},
                  "the token's holes");

    // Stretched with the view: at zoom 3 around the node the zones are three times as wide.
    zoom(200, 200, 3);
    frame();
    expect_pixels(bmp, {{320 + 91, 240, BACK}, {320 + 151, 240, DIM}, {320 + 211, 240, BLACK}, {320, 240 - 91, BACK}},
                  "zoom 3");

    // The token moves on: its old holes stay open and new ones open where it is.
    zoom(320, 240, 1);
    token_at(560, 400);
    frame();
    frame();
    expect_pixels(bmp, {{520, 100, BACK}, {530, 100, DIM}, {580, 400, BACK}, {590, 400, DIM}, {600, 400, BLACK}},
                  "after the token moved");

    // Crossing the seam it stands left of x 0: half a unit further west, its copy at +640
    // lands a pixel further west too.
    token_at(-5.0f, 300);
    frame();
    EXPECT_EQ(getpixel(map->bmpFog_dim, 609, 300), BLACK);
    token_at(-5.5f, 300);
    frame();
    EXPECT_EQ(getpixel(map->bmpFog_dim, 609, 300), MAGENTA);
}

TEST_F(MapDrawingTest, OnlyVisitedRevealedNodesCutSightAndHolesWrapAcrossTheSeam)
{
    NODE* n = node_at(10, 300, make_cell(10000));
    n->bRevealed = true;
    token_at(320, 60);
    frame();
    EXPECT_EQ(getpixel(map->bmpFog_dim, 10, 300), BLACK) << "revealed but not visited";
    EXPECT_EQ(getpixel(map->bmpFog_dark, 10, 300), BLACK);

    n->bVisited = true;
    frame();
    // 40 and 60 around x 10: across the seam the holes reach back to x 610 and 590.
    expect_pixels(map->bmpFog_dim, {{10, 300, MAGENTA}, {630, 300, MAGENTA}, {605, 300, BLACK}}, "dim fog");
    expect_pixels(map->bmpFog_dark, {{630, 300, MAGENTA}, {595, 300, MAGENTA}, {585, 300, BLACK}}, "dark fog");
}

TEST_F(MapDrawingTest, SightGrowsWithHeightAndWithTheDepthOfTheSea)
{
    struct CASE
    {
        int iHeight, iDim, iDark;
    } cases[] = {{0, 25, 35},      {4999, 38, 57},    {5000, 25, 35},      {10000, 40, 60},
                 {14000, 56, 84},  {25000, 100, 120}, {-25000, 100, 120}};
    for (const CASE& k : cases)
    {
        NODE* n = node_at(320, 240, make_cell(k.iHeight));
        n->bRevealed = n->bVisited = true;
        BITMAP* bmpDark = make_test_bitmap(640, 480, BLACK);
        BITMAP* bmpDim = make_test_bitmap(640, 480, BLACK);
        n->draw_sight(bmpDark, bmpDim);
        std::string sWhat = "height " + std::to_string(k.iHeight);
        expect_pixels(bmpDim, {{320 + k.iDim, 240, MAGENTA}, {320 + k.iDim + 1, 240, BLACK}}, sWhat + " dim");
        expect_pixels(bmpDark, {{320 - k.iDark, 240, MAGENTA}, {320 - k.iDark - 1, 240, BLACK}}, sWhat + " dark");
        destroy_bitmap(bmpDark);
        destroy_bitmap(bmpDim);
    }
}

TEST_F(MapDrawingTest, EdgesTakeTheColourOfTheirTypeSolidAtThePlayerFaintElsewhere)
{
    struct CASE
    {
        int iType, iColour;
    } cases[] = {{EDGE_NORMAL, WHITE},     {EDGE_SHORT_DETOUR, BLUE}, {EDGE_LONG_DETOUR, YELLOW}, {EDGE_GROUP_JOIN, YELLOW},
                 {EDGE_LOCKED, RED},       {EDGE_UNLOCKED, GREEN},    {7, WHITE}};
    // The player on the edge's west end, on its east end, or on neither.
    enum PLAYER_AT
    {
        AT_WEST,
        AT_EAST,
        AWAY
    };
    int y = 20;
    for (const CASE& k : cases)
        for (PLAYER_AT iAt : {AT_WEST, AT_EAST, AWAY})
        {
            NODE* a = node_at(100, (float)y);
            NODE* b = node_at(200, (float)y);
            a->bRevealed = b->bRevealed = a->bVisited = true;
            a->bPlayer = iAt == AT_WEST;
            b->bPlayer = iAt == AT_EAST;
            EDGE* e = link(b, a, k.iType);
            ASSERT_EQ(e->get_west(), a);
            const bool bNear = iAt != AWAY;
            clear();
            e->draw(bmp);
            std::string sWhat = "type " + std::to_string(k.iType) +
                                (iAt == AT_WEST ? " at the player, west" : iAt == AT_EAST ? " at the player, east" : " away");
            expect_pixels(bmp, {{150, y, bNear ? k.iColour : blend(k.iColour, BACK, 64)}, {150, y + 1, BACK}, {250, y, BACK}},
                          sWhat);
            y += 20;
        }
}

TEST_F(MapDrawingTest, AnEdgeShowsOnceItsEndsAreRevealedAndOneVisitedOrWhileHIsHeld)
{
    struct CASE
    {
        bool bRevealed_a, bRevealed_b, bVisited_a, bVisited_b, bKey_h, bDrawn;
    } cases[] = {
        {true, true, true, false, false, true},   {true, true, false, true, false, true},
        {true, true, false, false, false, false}, // both seen, neither visited
        {true, false, true, false, false, false}, {false, false, false, false, false, false},
        {false, false, false, false, true, true}, {true, true, false, false, true, true},
    };
    NODE* a = node_at(100, 100);
    NODE* b = node_at(200, 100);
    EDGE* e = link(a, b);
    for (const CASE& k : cases)
    {
        a->bRevealed = k.bRevealed_a;
        b->bRevealed = k.bRevealed_b;
        a->bVisited = k.bVisited_a;
        b->bVisited = k.bVisited_b;
        key[KEY_H] = k.bKey_h;
        clear();
        e->draw(bmp);
        EXPECT_EQ(getpixel(bmp, 150, 100), k.bDrawn ? blend(WHITE, BACK, 64) : BACK)
            << k.bRevealed_a << k.bRevealed_b << k.bVisited_a << k.bVisited_b << " H " << k.bKey_h;
    }

    // An edge without ends has nothing to draw.
    EDGE eEmpty;
    clear();
    eEmpty.draw(bmp);
    EXPECT_EQ(pixels_of(bmp, BACK, 0, 0, 639, 479), 640 * 480);
}

TEST_F(MapDrawingTest, AnEdgeAcrossTheSeamShowsAsTwoStubs)
{
    NODE* w = node_at(20, 100);
    NODE* e = node_at(630, 100);
    EDGE* edge = link(e, w);
    w->bRevealed = e->bRevealed = w->bVisited = w->bPlayer = true;
    edge->draw(bmp);
    expect_pixels(bmp, {{0, 100, WHITE}, {19, 100, WHITE}, {635, 100, WHITE}, {639, 100, WHITE}, {25, 100, BACK},
                        {320, 100, BACK}, {625, 100, BACK}},
                  "camera at 320");

    // With the seam in the middle of the view the two stubs meet there, from the copy at -640.
    zoom(0, 240, 1);
    clear();
    edge->draw(bmp);
    expect_pixels(bmp, {{311, 100, WHITE}, {325, 100, WHITE}, {339, 100, WHITE}, {305, 100, BACK}, {345, 100, BACK},
                        {200, 100, BACK}},
                  "camera at 0");

    // Away from the player each stub is blended twice: it is also the far stub of the
    // neighbouring copy, which lies off the bitmap.
    w->bPlayer = false;
    zoom(320, 240, 1);
    clear();
    edge->draw(bmp);
    const int TWICE = blend(WHITE, blend(WHITE, BACK, 64), 64);
    expect_pixels(bmp, {{10, 100, TWICE}, {635, 100, TWICE}, {320, 100, BACK}}, "faint");

    // An edge that does not cross the seam is one line between its ends.
    NODE* a = node_at(100, 200);
    NODE* b = node_at(200, 200);
    a->bRevealed = b->bRevealed = a->bVisited = a->bPlayer = true;
    EDGE* eDirect = link(a, b);
    zoom(320, 240, 1);
    clear();
    eDirect->draw(bmp);
    expect_pixels(bmp, {{150, 200, WHITE}, {50, 200, BACK}, {639, 200, BACK}, {0, 200, BACK}}, "direct");
}

TEST_F(MapDrawingTest, MarkerRingsAndDiscsByStateAndZoom)
{
    // The node at the screen centre, one neighbour over an open edge.
    struct CASE
    {
        const char* sName;
        std::function<void(NODE*, NODE*, EDGE*)> setup;
        int iInside, iRing0, iRing1, iRing2; // colours at the centre + R0 / 2, R0, R1, R2
        bool bSolid;
    };
    const std::vector<CASE> cases = {
        {"plain visited", [](NODE* n, NODE*, EDGE*) { n->bVisited = true; }, BACK, GREEN, GREEN, BACK, true},
        {"settlement", [](NODE* n, NODE*, EDGE*) { n->bSettlement = n->bVisited = true; }, DARK_BLUE, GREEN, GREEN, BACK,
         true},
        {"dungeon, not visited", [](NODE* n, NODE*, EDGE*) { n->bDungeon = true; }, DARK_RED, DARK_RED, BACK, BACK, true},
        {"start", [](NODE* n, NODE*, EDGE*) { n->bStart = n->bVisited = n->bSettlement = true; }, YELLOW, RED, RED, RED,
         true},
        {"end", [](NODE* n, NODE*, EDGE*) { n->bEnd = true; }, BLACK, PURPLE, PURPLE, PURPLE, true},
        {"hovered start", [](NODE* n, NODE*, EDGE*) { n->bStart = n->bHovered = true; }, BACK, RED, RED, RED, true},
        {"holding the marker",
         [](NODE* n, NODE* p, EDGE*)
         {
             p->bPlayer = false;
             n->bPlayer = n->bVisited = true;
         },
         BACK, BLUE, BLUE, BLUE, true},
        {"holding the marker over a blocked edge only",
         [](NODE* n, NODE* p, EDGE* e)
         {
             p->bPlayer = false;
             n->bPlayer = true;
             e->block();
         },
         BACK, BLUE, BLUE, BLUE, false},
        {"far from the marker",
         [](NODE* n, NODE* p, EDGE*)
         {
             p->bPlayer = false;
             n->bVisited = true;
         },
         BACK, GREEN, GREEN, BACK, false},
    };
    struct ZOOM
    {
        float fZoom;
        int R0, R1, R2;
    } zooms[] = {{1, 4, 5, 6}, {3, 12, 13, 14}, {6, 20, 21, 22}};
    for (const ZOOM& z : zooms)
        for (const CASE& k : cases)
        {
            NODE* n = node_at(320, 240);
            NODE* p = node_at(330, 260);
            EDGE* e = link(n, p);
            n->bRevealed = true;
            p->bPlayer = true;
            k.setup(n, p, e);
            zoom(320, 240, z.fZoom);
            clear();
            n->draw(bmp);
            auto shade = [&](int colour) { return colour == BACK || k.bSolid ? colour : blend(colour, BACK, 96); };
            std::string sWhat = std::string(k.sName) + " at zoom " + std::to_string((int)z.fZoom);
            expect_pixels(bmp,
                          {{320 + z.R0 / 2, 240, shade(k.iInside)},
                           {320 + z.R0, 240, shade(k.iRing0)},
                           {320 + z.R1, 240, shade(k.iRing1)},
                           {320 + z.R2, 240, shade(k.iRing2)},
                           {320 + z.R2 + 1, 240, BACK}},
                          sWhat);
            delete n->sName; // no name, no label box in the way
            n->sName = new std::string();
        }
}

TEST_F(MapDrawingTest, IconAndBadgeStandAboveTheMarkerAndTheBadgeShowsStartAndEnd)
{
    load_icon_sheets();
    struct CASE
    {
        bool bStart, bEnd;
        int iBadge;
    } cases[] = {{false, false, BADGES[0]}, {true, false, BADGES[1]}, {false, true, BADGES[2]}};
    zoom(320, 240, 3);
    for (const CASE& k : cases)
    {
        NODE* n = node_at(320, 240);
        n->set_kind("camp", 1);
        n->bRevealed = true;
        n->bStart = k.bStart;
        n->bEnd = k.bEnd;
        clear();
        n->draw(bmp);
        // The icon fills world (317, 237) to (323, 243), the badge 5 units higher, over it.
        expect_pixels(bmp,
                      {{311, 247, ICONS[1]}, {328, 247, ICONS[1]}, {311, 234, ICONS[1]}, {329, 225, BACK},
                       {311, 216, k.iBadge}, {328, 233, k.iBadge}, {320, 215, BACK}, {310, 220, BACK}},
                      k.bStart ? "start" : k.bEnd ? "end" : "plain");
    }
}

TEST_F(MapDrawingTest, AHoveredFrameLeavesTheBadgeAsItWas)
{
    load_icon_sheets();
    struct CASE
    {
        bool bStart, bEnd;
        int iBadge;
    } cases[] = {{true, false, BADGES[1]}, {false, true, BADGES[2]}};
    zoom(320, 240, 3);
    for (const CASE& k : cases)
    {
        NODE* n = node_at(320, 240);
        n->bRevealed = true;
        n->bStart = k.bStart;
        n->bEnd = k.bEnd;
        const char* sWhat = k.bStart ? "start" : "end";
        // Drawn first while hovered: the badge keeps its first column ...
        n->bHovered = true;
        clear();
        n->draw(bmp);
        EXPECT_EQ(getpixel(bmp, 311, 216), BADGES[0]) << sWhat << ", hovered first";
        // ... until a frame without the mouse on it ...
        n->bHovered = false;
        clear();
        n->draw(bmp);
        EXPECT_EQ(getpixel(bmp, 311, 216), k.iBadge) << sWhat;
        // ... and keeps that one under the mouse again.
        n->bHovered = true;
        clear();
        n->draw(bmp);
        EXPECT_EQ(getpixel(bmp, 311, 216), k.iBadge) << sWhat << ", hovered again";
    }
}

TEST_F(MapDrawingTest, HoveredNodeAndThePlayersNodeGetANameLabel)
{
    NODE* n = node_at(320, 240);
    *n->sName = "Abcdefghij"; // 10 characters: a box 90 wide
    n->bRevealed = true;
    struct CASE
    {
        bool bHovered, bPlayer, bLabel;
    } cases[] = {{true, false, true}, {false, true, true}, {false, false, false}};
    BITMAP* bmpText = make_test_bitmap(640, 480, BACK);
    textprintf_centre_ex(bmpText, font, 320, 260, YELLOW, -1, "%s", "Abcdefghij");
    const int iText = pixels_of(bmpText, YELLOW, 0, 0, 639, 479);
    ASSERT_GT(iText, 0);
    for (const CASE& k : cases)
    {
        n->bHovered = k.bHovered;
        n->bPlayer = k.bPlayer;
        clear();
        n->draw(bmp);
        std::string sWhat = k.bHovered ? "hovered" : k.bPlayer ? "player" : "neither";
        if (!k.bLabel)
        {
            expect_pixels(bmp, {{275, 255, BACK}, {300, 265, BACK}}, sWhat);
            continue;
        }
        const int FILL = blend(DARK_BLUE, BACK, 128);
        expect_pixels(bmp,
                      {{275, 255, WHITE}, {365, 275, WHITE}, {275, 265, WHITE}, {320, 255, WHITE}, {276, 256, FILL},
                       {364, 274, FILL}, {274, 265, BACK}, {366, 265, BACK}, {320, 254, BACK}, {320, 276, BACK}},
                      sWhat);
        // The name in yellow, centred on the node 20 below it, over its black shadow.
        int iMatching = 0;
        for (int y = 255; y <= 275; ++y)
            for (int x = 275; x <= 365; ++x)
                if (getpixel(bmpText, x, y) == YELLOW)
                    iMatching += getpixel(bmp, x, y) == YELLOW;
        EXPECT_EQ(iMatching, iText) << sWhat;
        EXPECT_EQ(pixels_of(bmp, YELLOW, 276, 256, 364, 274), iText) << sWhat;
        EXPECT_GT(pixels_of(bmp, BLACK, 276, 256, 364, 274), 0) << sWhat;
    }
    destroy_bitmap(bmpText);
}

TEST_F(MapDrawingTest, StatusLinesOfANodeOnLandAndAtSea)
{
    struct LINE
    {
        int x, y, colour;
        std::string sText;
    };
    struct CASE
    {
        const char* sName;
        int iHeight;
        bool bSettlement;
        const char* sRegion;   // none: null
        const char* sLandmass; // none: null
        std::vector<LINE> lines;
    };
    const std::vector<CASE> cases = {
        {"land",
         6000,
         false,
         "Vale",
         "Island of Orm",
         {{5, 445, YELLOW, "Tarn"},
          {5, 455, WHITE, "Island of Orm"},
          {5, 465, WHITE, "Region: Vale"},
          {205, 455, WHITE, "Population: 1234"},
          {205, 465, WHITE, "Rank:  7"}}},
        {"settlement", 5000, true, nullptr, nullptr,
         {{5, 445, YELLOW, "Tarn"}, {205, 455, WHITE, "Population: 1234"}, {205, 465, WHITE, "Rank:  0"}}},
        {"sea", 4999, false, "Vale", "Island of Orm", {{5, 445, YELLOW, "Tarn"}, {5, 455, WHITE, "Rank:  7"}}},
    };
    BITMAP* bmpExpected = make_test_bitmap(640, 480, BACK);
    for (const CASE& k : cases)
    {
        NODE* n = node_at(100, 100, make_cell(k.iHeight));
        *n->sName = "Tarn";
        n->iRank = 7;
        n->iPopulation = 1234;
        n->bSettlement = k.bSettlement;
        if (k.sRegion != nullptr)
            n->sRegion = new std::string(k.sRegion);
        std::string strLandmass = k.sLandmass != nullptr ? k.sLandmass : "";
        clear();
        n->draw_info(bmp, 5.0f, 445.0f, k.sLandmass != nullptr ? &strLandmass : nullptr);

        clear_to_color(bmpExpected, BACK);
        for (const LINE& l : k.lines)
        {
            // The name's shadow falls straight below it, the others' below and to the right.
            int iShadow_x = l.colour == YELLOW ? l.x : l.x + 1;
            textprintf_ex(bmpExpected, font, iShadow_x, l.y + 1, BLACK, -1, "%s", l.sText.c_str());
            textprintf_ex(bmpExpected, font, l.x, l.y, l.colour, -1, "%s", l.sText.c_str());
        }
        EXPECT_TRUE(same_pixels(bmp, bmpExpected)) << k.sName;
    }
    destroy_bitmap(bmpExpected);
}

TEST_F(MapDrawingTest, HoldingMHidesTheWholeMapAndHoldingHShowsWhatIsHidden)
{
    NODE* p = node_at(300, 240);
    NODE* q = node_at(400, 240); // hidden, behind the player's edge
    q->bSettlement = true;
    link(p, q);
    NODE* r = node_at(100, 400);
    NODE* s = node_at(200, 400);
    link(r, s); // hidden far away
    place_player(p);

    key[KEY_M] = 1;
    frame();
    frame();
    EXPECT_EQ(pixels_of(bmp, BACK, 0, 0, 639, 479), 640 * 480) << "M held: nothing";
    EXPECT_EQ(getpixel(map->bmpFog_dim, 300, 240), BLACK) << "and no holes";

    key[KEY_M] = 0;
    frame();
    frame();
    expect_pixels(bmp, {{310, 250, BACK}, {400, 240, BLACK}, {150, 400, BLACK}, {350, 240, BLACK}}, "plain");

    key[KEY_H] = 1;
    frame();
    frame();
    expect_pixels(bmp, {{402, 240, DARK_BLUE}, {150, 400, blend(WHITE, BLACK, 64)}, {350, 240, WHITE}}, "H held");
    EXPECT_EQ(getpixel(map->bmpFog_dark, 400, 240), BLACK) << "H cuts no fog";
    EXPECT_EQ(getpixel(map->bmpFog_dark, 150, 400), BLACK);
}

// The fogs are stretched and the dim one blended only where the dark fog may show a hole,
// black filled elsewhere: the picture must be the one of stretching both whole and one blend
// of the whole overlay, wherever the view and whatever the zoom.
TEST_F(MapDrawingTest, TheFogLooksAsOneWholeBlendOfTheOverlayWouldMakeIt)
{
    struct SPOT
    {
        float x, y;
        int iHeight;
    } spots[] = {{5, 240, 10000}, {636, 100, 25000}, {320, 2, 14000}, {200, 478, 6000},
                 {450, 300, -25000}, {90, 60, 0}, {600, 420, 4999}};
    for (const SPOT& p : spots)
    {
        NODE* n = node_at(p.x, p.y, make_cell(p.iHeight));
        n->bRevealed = n->bVisited = true;
    }
    token_at(330, 250);
    map->draw(bmp); // cuts every hole

    // The frame, a screen narrower and lower than the fog (its width no multiple of the
    // blend's blocks), one wider and higher than the overlay, and a frame drawn within a clip.
    struct TARGET
    {
        int w, h, x1, y1, x2, y2;
    } targets[] = {{640, 480, 0, 0, 639, 479}, {600, 450, 0, 0, 599, 449}, {700, 530, 0, 0, 699, 529},
                   {640, 480, 5, 3, 630, 470}};
    BITMAP* bmpOverlay = make_test_bitmap(640, 480, MAGENTA);
    const float ZOOMS[] = {1, 3, 6, 9, 0.5f, 1.37f, 2.6f};
    const float CENTRES[][2] = {{320, 240}, {10.3f, 240}, {633.7f, 50.2f}, {100.5f, 470.9f}};
    for (const TARGET& t : targets)
    {
        BITMAP* bmpGot = make_test_bitmap(t.w, t.h, BACK);
        BITMAP* bmpExpected = make_test_bitmap(t.w, t.h, BACK);
        for (float fZoom : ZOOMS)
            for (const auto& centre : CENTRES)
            {
                zoom(centre[0], centre[1], fZoom);
                CAMERA* c = CAMERA::current();
                for (BITMAP* b : {bmpGot, bmpExpected})
                {
                    set_clip_rect(b, 0, 0, t.w - 1, t.h - 1);
                    clear_to_color(b, BACK);
                    set_clip_rect(b, t.x1, t.y1, t.x2, t.y2);
                }
                clear_to_color(bmpOverlay, MAGENTA);
                for (float m : COPY_OFFSETS)
                {
                    int x = (int)c->world_to_screen_x(m);
                    int y = (int)c->world_to_screen_y(0);
                    int w = (int)c->scale_length_x(640);
                    int h = (int)c->scale_length_y(480);
                    masked_stretch_blit(map->bmpFog_dark, bmpExpected, 0, 0, 640, 480, x, y, w, h);
                    masked_stretch_blit(map->bmpFog_dim, bmpOverlay, 0, 0, 640, 480, x, y, w, h);
                }
                set_trans_blender(0, 0, 0, 128);
                draw_trans_sprite(bmpExpected, bmpOverlay, 0, 0);
                for (EDGE* e : map->l_Edges)
                    e->draw(bmpExpected);
                for (NODE* n : map->l_Nodes)
                    n->draw(bmpExpected);
                map->tTraveller->draw(bmpExpected);

                map->draw(bmpGot);
                EXPECT_TRUE(same_pixels(bmpGot, bmpExpected))
                    << t.w << "x" << t.h << " clip " << t.x1 << ", " << t.y1 << " zoom " << fZoom << " at "
                    << centre[0] << ", " << centre[1];
            }
        destroy_bitmap(bmpGot);
        destroy_bitmap(bmpExpected);
    }
    destroy_bitmap(bmpOverlay);
}

TEST_F(MapDrawingTest, WhatReachesIntoTheBitmapFromOffItStillShows)
{
    // At zoom 6 around (320, 240): screen x = 320 + 6 * (world x - 320).
    zoom(320, 240, 6);
    auto world_x = [](float sx) { return 320 + (sx - 320) / 6; };
    auto world_y = [](float sy) { return 240 + (sy - 240) / 6; };
    const int BADGE = make_colour(1, 2, 3);
    BITMAP* sheet = make_test_bitmap(96, 32, BADGE); // three columns
    load_into_cache(1, sheet);
    destroy_bitmap(sheet);

    // Rings of 22 around a centre 22 pixels left of the bitmap (faint: no open edge).
    NODE* a = node_at(263, world_y(100));
    place_player(a);
    // A label 144 wide around a centre 64 pixels right of the bitmap, 20 below it.
    NODE* b = node_at(384, 217);
    *b->sName = "Abcdefghijklmnop";
    b->bRevealed = b->bHovered = true;
    // An edge between two ends off either side.
    NODE* c = node_at(world_x(-100), world_y(360));
    NODE* d = node_at(world_x(800), world_y(360));
    c->bRevealed = d->bRevealed = c->bVisited = c->bPlayer = true;
    EDGE* e = link(c, d);
    // A start node wholly off the bitmap.
    NODE* s = node_at(world_x(-200), world_y(300));
    s->bRevealed = s->bStart = true;
    // A node 40 pixels below the bitmap: its badge, 48 to 12 above it, reaches 8 rows in.
    NODE* t = node_at(320, world_y(520));
    t->bRevealed = true;

    a->draw(bmp);
    b->draw(bmp);
    e->draw(bmp);
    s->draw(bmp);
    t->draw(bmp);
    expect_pixels(bmp,
                  {{0, 100, blend(BLUE, BACK, 96)}, {632, 127, WHITE}, {639, 117, WHITE}, {320, 360, WHITE},
                   {320, 474, BADGE}, {320, 470, BACK}},
                  "zoom 6");
    EXPECT_EQ(s->sprBadge->l_Layers.front()->iColumn, 1u) << "the start badge is set before it comes into view";
}
