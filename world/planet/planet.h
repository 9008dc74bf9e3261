#pragma once

#include <allegro.h>

#include "world/geometry.h"
#include "world/planet/cell.h"
#include "world/planet/climate.h"

constexpr int PLANET_FOREST_ZONES = 30;

// The world-sized terrain grid that exists while the world is generated, with its picture,
// its climate noise map and its landmass label map. Every chance it takes comes from the
// process-wide random source, in a fixed order, so a seed fixes the whole planet.
class PLANET
{
public:
    PLANET();
    ~PLANET();
    PLANET(const PLANET&) = delete;
    PLANET& operator=(const PLANET&) = delete;

    // The planet image and the zeroed label map; every height back to 0.
    void create_bitmaps();

    // Terrain stage: climate, noise map, mountains, holes and temperatures.
    void generate();
    void generate(int mountains);
    void generate(int mountains, int holes);
    void generate_terrain(int mountains, int holes);

    // One spot of the mountain or hole walk, starting from and moving the centre (x, y);
    // (0, 0) means no centre yet.
    void make_mountain(int& x, int& y);
    void make_hole(int& x, int& y);

    // A spot changes a plus-shaped patch: its row out to both sides, wrapping east-west, and
    // a column north and south from every changed cell of that row, decaying at each step.
    void raise_spot(int x, int y, int amount, float decay);
    void spread_right(int x, int y, int amount, float decay, int kind_roll);
    void spread_left(int x, int y, int amount, float decay, int kind_roll);
    void spread_up(int x, int y, int amount, float decay, int kind_roll);
    void spread_down(int x, int y, int amount, float decay, int kind_roll);
    // The south and the north arm from the row cell (x, y), as spread_down(x, y + 1) and
    // spread_up(x, y - 1) would make them.
    void spread_column(int x, int y, int amount, float decay, int kind_roll);
    // False, changing nothing, off the grid or for an amount of magnitude below 15.
    bool apply_height(int x, int y, int amount, int kind_roll);
    static float random_decay();

    void make_climate_noise();
    // Copies what was drawn into the 100-pixel side margins of the noise scratch (the world
    // with 100 pixels all round) to the opposite side of its world-wide middle, so the noise
    // wraps east-west.
    static void wrap_noise_margins(BITMAP* scratch);
    void calculate_temperature();

    static int wrap_distance(int a, int b);

    // Draws the image through the current camera with its east-west copies.
    void draw(BITMAP* target, int width, int height);

    // Rendering stage: forest zones, rivers, the coloured image and the landmass labels; in
    // planet_render.cpp.
    BITMAP* get_image();
    void render(int width, int height);
    // Its steps in order: zones, rivers, the picture cell by cell, then the landmasses.
    void render_planet(int width, int height, int sea_level);
    void make_forest_zones();
    void paint(int sea_level);
    void make_rivers(int count);
    void trace_river(int x, int y);
    // Hill shading: 0.95 where the slope falls away from the north-west, else 1.0.
    float shade(int x, int y);
    // The colour of one cell's height band, painted onto the image.
    void paint_band(int x, int y, int sea_level);
    // Speckles on coastal water, the river colour and the land mask of one cell.
    void paint_details(int x, int y);
    void analyze_landmasses();

    CELL* get_cell(int x, int y) { return &aCells[x][y]; }
    const CELL* get_cell(int x, int y) const { return &aCells[x][y]; }

    // The same pixels as circlefill(bmp, x, y, 2, colour) in solid mode, written straight
    // into the lines of a 32-bit bitmap (other depths go through circlefill).
    static void fill_disc(BITMAP* bmp, int x, int y, int colour);

    // Clamp of an expression to 0..255 written as nested minimum and maximum: the expression
    // (and so its draws) is evaluated up to four times, and the result is its last value.
    template <typename EXPRESSION>
    static auto clamp_channel(EXPRESSION expression) -> decltype(expression())
    {
        using VALUE = decltype(expression());
        VALUE m = expression() < 255 ? expression() : VALUE(255);
        if (m < 0)
            return VALUE(0);
        return expression() < 255 ? expression() : VALUE(255);
    }

    // Column-major: aCells[x] holds the rows of column x.
    CELL aCells[WORLD_WIDTH][WORLD_HEIGHT];
    BITMAP* bmpImage;
    BITMAP* bmpNoise;
    CLIMATE cClimate;
    int iHot_column;
    int iReserved;
    BITMAP* bmpLabels;
    int iLabel_count;

    // Working data of the rendering pass. The forest flag is left by the latest lowland
    // cell and read by highland cells; it starts false.
    int forestx[PLANET_FOREST_ZONES];
    int foresty[PLANET_FOREST_ZONES];
    float forest_range[PLANET_FOREST_ZONES];
    bool forest;
};
