// Reads screenshots of the game (24-bit BMP) for the end-to-end tests, so that they can look
// at the screen the way a player does: is a text shown in a colour, how many pixels of a colour
// lie around a point, do two screenshots differ in a box, and where are the player's
// neighbours. Colours are RRGGBB in hex.
//
//   e2e_probe text SHOT left|centre|right X Y RRGGBB TEXT
//                                                    exit 0 when every pixel of TEXT in the
//                                                    built-in font at (X, Y) has the colour
//   e2e_probe ring SHOT X Y R1 R2 RRGGBB             prints the count of pixels of the colour
//                                                    from R1 to R2 away from (X, Y) and the
//                                                    farthest one's distance, rounded
//   e2e_probe pixel SHOT X Y                         prints the pixel's colour
//   e2e_probe sprite SHOT X Y IMAGE                  exit 0 when the image, its magenta left
//                                                    out, stands with its corner at (X, Y)
//   e2e_probe differ SHOT1 SHOT2 X1 Y1 X2 Y2         exit 0 when the box differs
//   e2e_probe changed SHOT1 SHOT2 X1 Y1 X2 Y2        prints how many pixels of the box differ
//   e2e_probe neighbours SHOT SHOT_M_HELD ZOOM       prints "X Y" screen points of the
//                                                    player's neighbours, farthest first

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/headless.h"

namespace
{
const int CENTRE_X = 320;
const int CENTRE_Y = 240;
const int STATUS_BAR_Y = 440;

// Every bitmap the probe makes, destroyed before it ends.
std::vector<BITMAP*> v_Bitmaps;

BITMAP* keep(BITMAP* bmp)
{
    v_Bitmaps.push_back(bmp);
    return bmp;
}

BITMAP* load_shot(const char* sPath)
{
    BITMAP* bmp = load_bitmap(sPath, nullptr);
    if (bmp == nullptr)
    {
        std::fprintf(stderr, "e2e_probe: cannot read %s\n", sPath);
        std::exit(2);
    }
    return keep(bmp);
}

int colour_arg(const char* s)
{
    return (int)std::strtol(s, nullptr, 16) & 0xFFFFFF;
}

int pixel(BITMAP* bmp, int x, int y)
{
    return getpixel(bmp, x, y) & 0xFFFFFF;
}

int text(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    BITMAP* bmpShot = load_shot(argv[2]);
    const std::string sAlign = argv[3];
    const int iColour = colour_arg(argv[6]);
    const char* sText = argv[7];
    const int iWidth = text_length(font, sText);
    const int iHeight = text_height(font);
    int x = std::atoi(argv[4]) - (sAlign == "centre" ? iWidth / 2 : sAlign == "right" ? iWidth : 0);
    int y = std::atoi(argv[5]);
    BITMAP* bmpGlyphs = keep(create_bitmap_ex(32, iWidth, iHeight));
    clear_to_color(bmpGlyphs, MAGENTA);
    textout_ex(bmpGlyphs, font, sText, 0, 0, WHITE, -1);
    int iWrong = 0;
    for (int j = 0; j < iHeight; ++j)
        for (int i = 0; i < iWidth; ++i)
            if ((getpixel(bmpGlyphs, i, j) & 0xFFFFFF) == WHITE && pixel(bmpShot, x + i, y + j) != iColour)
                ++iWrong;
    return iWrong == 0 ? 0 : 1;
}

int ring(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    BITMAP* bmpShot = load_shot(argv[2]);
    const int cx = std::atoi(argv[3]);
    const int cy = std::atoi(argv[4]);
    const double fInner = std::atof(argv[5]);
    const double fOuter = std::atof(argv[6]);
    const int iColour = colour_arg(argv[7]);
    const int r = (int)std::ceil(fOuter);
    int iCount = 0;
    double fFarthest = 0;
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x)
        {
            const double d = std::hypot(x - cx, y - cy);
            if (d < fInner || d > fOuter || x < 0 || y < 0 || x >= bmpShot->w || y >= bmpShot->h)
                continue;
            if (pixel(bmpShot, x, y) == iColour)
            {
                ++iCount;
                fFarthest = std::max(fFarthest, d);
            }
        }
    std::printf("%d %d\n", iCount, (int)std::lround(fFarthest));
    return 0;
}

int pixel_at(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    BITMAP* bmpShot = load_shot(argv[2]);
    std::printf("%06X\n", pixel(bmpShot, std::atoi(argv[3]), std::atoi(argv[4])));
    return 0;
}

int sprite(int argc, char** argv)
{
    if (argc < 6)
        return 2;
    BITMAP* bmpShot = load_shot(argv[2]);
    BITMAP* bmpSprite = load_shot(argv[5]);
    const int x = std::atoi(argv[3]);
    const int y = std::atoi(argv[4]);
    for (int j = 0; j < bmpSprite->h; ++j)
        for (int i = 0; i < bmpSprite->w; ++i)
        {
            const int p = pixel(bmpSprite, i, j);
            if (p != MAGENTA && pixel(bmpShot, x + i, y + j) != p)
                return 1;
        }
    return 0;
}

int differ(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    BITMAP* a = load_shot(argv[2]);
    BITMAP* b = load_shot(argv[3]);
    for (int y = std::atoi(argv[5]); y <= std::atoi(argv[7]); ++y)
        for (int x = std::atoi(argv[4]); x <= std::atoi(argv[6]); ++x)
            if (pixel(a, x, y) != pixel(b, x, y))
                return 0;
    return 1;
}

int changed(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    BITMAP* a = load_shot(argv[2]);
    BITMAP* b = load_shot(argv[3]);
    int iCount = 0;
    for (int y = std::atoi(argv[5]); y <= std::atoi(argv[7]); ++y)
        for (int x = std::atoi(argv[4]); x <= std::atoi(argv[6]); ++x)
            iCount += pixel(a, x, y) != pixel(b, x, y);
    std::printf("%d\n", iCount);
    return 0;
}

// Only the edges at the player's node are drawn solid, in the exact colour of their type, so
// the pixels that such a colour has in the shot and not with the map hidden run from the
// centre out along each of those edges. Locked edges (red) lead nowhere and are left out,
// and so are the player's own marker, badge and name label. The pixels are binned by their
// angle around the centre; a run of neighbouring bins that starts close to the centre (or
// under the label) is one edge, and its neighbour lies a marker's radius beyond its farthest
// pixel.
int neighbours(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    BITMAP* a = load_shot(argv[2]);
    BITMAP* b = load_shot(argv[3]);
    // A marker's discs and rings reach 4 world units and 2 pixels out, the token's sprite 8
    // pixels; the neighbour's disc hides the last 4 units of its edge.
    const double fZoom = std::atof(argv[4]);
    const double fMarker_clear = std::max(4 * fZoom + 2, 11.0) + 2;
    const double fHidden_end = 4 * fZoom;
    const int aEdge_colours[] = {WHITE, BLUE, YELLOW, GREEN};

    // The label box under the player's node: its white lower side runs through x 320.
    const int iLabel_bottom = CENTRE_Y + 35;
    int iLabel_left = CENTRE_X;
    int iLabel_right = CENTRE_X;
    if (pixel(a, CENTRE_X, iLabel_bottom) == WHITE)
    {
        while (iLabel_left > 0 && pixel(a, iLabel_left - 1, iLabel_bottom) == WHITE)
            --iLabel_left;
        while (iLabel_right < a->w - 1 && pixel(a, iLabel_right + 1, iLabel_bottom) == WHITE)
            ++iLabel_right;
    }

    auto in_label = [&](double x, double y) {
        return x >= iLabel_left - 3 && x <= iLabel_right + 3 && y >= iLabel_bottom - 23 && y <= iLabel_bottom + 3;
    };
    const int BINS = 360;
    std::vector<int> a_Count(BINS, 0);
    std::vector<double> a_Near(BINS, 1e9);
    std::vector<double> a_Far(BINS, 0);
    for (int y = 0; y < STATUS_BAR_Y; ++y)
        for (int x = 0; x < a->w; ++x)
        {
            const int p = pixel(a, x, y);
            bool bEdge_colour = false;
            for (int c : aEdge_colours)
                bEdge_colour = bEdge_colour || p == c;
            if (!bEdge_colour || p == pixel(b, x, y))
                continue;
            const double r = std::hypot(x - CENTRE_X, y - CENTRE_Y);
            if (r < fMarker_clear)
                continue;
            if (in_label(x, y))
                continue;
            // The start badge stands 2 to 8 world units above the node, 6 wide.
            if (std::abs(x - CENTRE_X) <= 3 * fZoom + 1 && y >= CENTRE_Y - 8 * fZoom - 1 && y <= CENTRE_Y - 2 * fZoom + 1)
                continue;
            double fAngle = std::atan2(y - CENTRE_Y, x - CENTRE_X) * 180.0 / M_PI;
            int iBin = ((int)std::floor(fAngle) + BINS) % BINS;
            ++a_Count[iBin];
            a_Near[iBin] = std::min(a_Near[iBin], r);
            a_Far[iBin] = std::max(a_Far[iBin], r);
        }

    struct RAY
    {
        int iCount;
        double fAngle;
        double fFar;
    };
    std::vector<RAY> v_Rays;
    std::vector<bool> a_Taken(BINS, false);
    for (int iStart = 0; iStart < BINS; ++iStart)
    {
        if (a_Count[iStart] == 0 || a_Taken[iStart] || a_Count[(iStart + BINS - 1) % BINS] != 0)
            continue;
        RAY ray = {0, 0, 0};
        double fNear = 1e9;
        double fWeighted = 0;
        for (int k = 0; k < BINS && a_Count[(iStart + k) % BINS] != 0; ++k)
        {
            const int i = (iStart + k) % BINS;
            a_Taken[i] = true;
            ray.iCount += a_Count[i];
            fWeighted += a_Count[i] * (iStart + k + 0.5);
            fNear = std::min(fNear, a_Near[i]);
            ray.fFar = std::max(ray.fFar, a_Far[i]);
        }
        ray.fAngle = fWeighted / ray.iCount;
        // An edge starts under the marker, or under the label box, and runs on for a while.
        const double fRadians = ray.fAngle * M_PI / 180.0;
        bool bStarts_hidden = true;
        for (double r = fMarker_clear + 8; r < fNear - 3 && bStarts_hidden; r += 1)
            bStarts_hidden = in_label(CENTRE_X + r * std::cos(fRadians), CENTRE_Y + r * std::sin(fRadians));
        if (bStarts_hidden && ray.fFar - fNear >= 8 && ray.iCount >= 8)
            v_Rays.push_back(ray);
    }
    // A neighbour whose edge the label hides shows by its disc: drawn solid next to the
    // player, dark blue for a settlement, dark red for a dungeon. Its pixels, grouped by
    // nearness, give its centre; these come after the edges.
    struct BLOB
    {
        int iCount;
        double fX, fY;
        int iFirst_x, iFirst_y;
    };
    std::vector<BLOB> v_Blobs;
    for (int y = 0; y < STATUS_BAR_Y; ++y)
        for (int x = 0; x < a->w; ++x)
        {
            const int p = pixel(a, x, y);
            if ((p != DARK_BLUE && p != DARK_RED) || p == pixel(b, x, y))
                continue;
            if (std::hypot(x - CENTRE_X, y - CENTRE_Y) < fMarker_clear)
                continue;
            BLOB* pBlob = nullptr;
            for (BLOB& blob : v_Blobs)
                if (std::hypot(x - blob.iFirst_x, y - blob.iFirst_y) <= 6 * fZoom)
                    pBlob = &blob;
            if (pBlob == nullptr)
            {
                v_Blobs.push_back({0, 0, 0, x, y});
                pBlob = &v_Blobs.back();
            }
            ++pBlob->iCount;
            pBlob->fX += x;
            pBlob->fY += y;
        }

    // The longest edge first: its journey lasts long enough to be seen under way.
    std::sort(v_Rays.begin(), v_Rays.end(), [](const RAY& p, const RAY& q) { return p.fFar > q.fFar; });
    for (const RAY& ray : v_Rays)
    {
        const double fRadians = ray.fAngle * M_PI / 180.0;
        const double r = ray.fFar + fHidden_end - 1;
        std::printf("%d %d\n", (int)std::lround(CENTRE_X + r * std::cos(fRadians)),
                    (int)std::lround(CENTRE_Y + r * std::sin(fRadians)));
    }
    for (const BLOB& blob : v_Blobs)
        if (blob.iCount >= 2 * fZoom * fZoom)
            std::printf("%d %d\n", (int)std::lround(blob.fX / blob.iCount), (int)std::lround(blob.fY / blob.iCount));
    return 0;
}

int run(int argc, char** argv)
{
    const std::string sCommand = argv[1];
    if (sCommand == "text")
        return text(argc, argv);
    if (sCommand == "ring")
        return ring(argc, argv);
    if (sCommand == "pixel")
        return pixel_at(argc, argv);
    if (sCommand == "sprite")
        return sprite(argc, argv);
    if (sCommand == "differ")
        return differ(argc, argv);
    if (sCommand == "changed")
        return changed(argc, argv);
    if (sCommand == "neighbours")
        return neighbours(argc, argv);
    return 2;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    start_headless_allegro();
    const int iResult = run(argc, argv);
    for (BITMAP* bmp : v_Bitmaps)
        destroy_bitmap(bmp);
    return iResult;
}
