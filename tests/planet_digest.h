#pragma once

// Digests of a planet's stages, so that a whole run can be pinned by a few numbers. The
// game's planet and the independent reference in planet_reference.h both record them in
// the same order and by the same names.

#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "world/planet/cell.h"

// 64-bit FNV-1a over 32-bit values.
class DIGEST
{
public:
    void add(std::uint32_t uiValue)
    {
        for (int i = 0; i < 4; i++)
        {
            ullHash ^= (uiValue >> (8 * i)) & 0xFF;
            ullHash *= 1099511628211ull;
        }
    }
    void add_int(int iValue) { add((std::uint32_t)iValue); }
    void add_float(float fValue)
    {
        std::uint32_t uiBits;
        std::memcpy(&uiBits, &fValue, sizeof uiBits);
        add(uiBits);
    }
    // The characters, then the length, so that texts in a row stay apart.
    void add_text(const std::string& sText)
    {
        for (unsigned char c : sText)
            add(c);
        add((std::uint32_t)sText.size());
    }
    unsigned long long value() const { return ullHash; }

private:
    unsigned long long ullHash = 14695981039346656037ull;
};

// Every cell of the 640 x 480 grid, column by column.
template <typename VALUE>
unsigned long long digest_cells(VALUE value)
{
    DIGEST d;
    for (int x = 0; x < 640; x++)
        for (int y = 0; y < 480; y++)
            d.add(value(x, y));
    return d.value();
}

inline unsigned long long digest_bitmap(BITMAP* bmp)
{
    DIGEST d;
    d.add_int(bmp->w);
    d.add_int(bmp->h);
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
            d.add_int(getpixel(bmp, x, y));
    return d.value();
}

inline std::uint32_t float_bits(float fValue)
{
    std::uint32_t uiBits;
    std::memcpy(&uiBits, &fValue, sizeof uiBits);
    return uiBits;
}

// One recorded value: the stage it belongs to and what it measures.
struct PLANET_DIGEST
{
    unsigned int uiSeed;
    std::string sStage;
    std::string sItem;
    unsigned long long ullValue;
};

// The stages in the order a planet runs through them.
inline const std::vector<std::string>& planet_stages()
{
    static const std::vector<std::string> v_Stages = {
        "climate", "noise", "mountains", "holes", "temperature",
        "zones", "rivers", "colours", "landmasses"};
    return v_Stages;
}

// What the digests read, from either planet. Draws count from the seeding.
struct PLANET_VIEW
{
    const CELL* pCells;  // 640 x 480, column by column
    BITMAP* bmpImage;
    BITMAP* bmpLabels;
    BITMAP* bmpNoise;
    float fBase;
    float fSpread;
    float fPole_drop;
    int iOffset;
    int iHot_column;
    int iLabel_count;
    const int* pZone_x;  // 30 forest zones
    const int* pZone_y;
    const float* pZone_range;
    long long llDraws;
};

// Appends the digests of what the stage has just made.
inline void record_stage(std::vector<PLANET_DIGEST>& v_Digests, unsigned int uiSeed,
                         const std::string& sStage, const PLANET_VIEW& view)
{
    auto add = [&](const char* sItem, unsigned long long ullValue) {
        v_Digests.push_back(PLANET_DIGEST{uiSeed, sStage, sItem, ullValue});
    };
    auto cell = [&](int x, int y) -> const CELL& { return view.pCells[x * 480 + y]; };
    auto zones = [&]() {
        DIGEST d;
        for (int i = 0; i < 30; i++)
        {
            d.add_int(view.pZone_x[i]);
            d.add_int(view.pZone_y[i]);
            d.add_float(view.pZone_range[i]);
        }
        return d.value();
    };

    add("draws", (unsigned long long)view.llDraws);
    if (sStage == "climate")
    {
        add("base", float_bits(view.fBase));
        add("spread", float_bits(view.fSpread));
        add("pole drop", float_bits(view.fPole_drop));
        add("offset", (unsigned long long)view.iOffset);
    }
    else if (sStage == "noise")
        add("noise map", digest_bitmap(view.bmpNoise));
    else if (sStage == "mountains" || sStage == "holes")
    {
        add("heights", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).iHeight; }));
        add("kinds", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).iKind; }));
    }
    else if (sStage == "temperature")
    {
        add("temperatures", digest_cells([&](int x, int y) { return float_bits(cell(x, y).fTemperature); }));
        add("hot column", (unsigned long long)view.iHot_column);
    }
    else if (sStage == "zones")
        add("zones", zones());
    else if (sStage == "rivers")
        add("rivers", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).bRiver; }));
    else if (sStage == "colours")
    {
        add("image", digest_bitmap(view.bmpImage));
        add("land mask", digest_bitmap(view.bmpLabels));
        add("forests", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).bForest; }));
        add("deserts", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).bDesert; }));
        add("zone radii", zones());
    }
    else if (sStage == "landmasses")
    {
        add("label map", digest_bitmap(view.bmpLabels));
        add("landmass labels", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).iLandmass; }));
        add("label count", (unsigned long long)view.iLabel_count);
        add("reserved", digest_cells([&](int x, int y) { return (std::uint32_t)cell(x, y).iReserved; }));
    }
}
