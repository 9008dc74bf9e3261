#include "tests/planet_reference.h"

#include <allegro.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "framework/colours.h"

namespace
{
const int W = 640;
const int H = 480;

class REFERENCE
{
public:
    explicit REFERENCE(unsigned int uiSeed) : uiSeed_(uiSeed), uiState(uiSeed)
    {
        for (int x = 0; x < W; x++)
            for (int y = 0; y < H; y++)
            {
                CELL& c = cells[x][y];
                c.iHeight = 0;
                c.iReserved = 0;
                c.iKind = 1;
                c.fTemperature = 0;
                c.iLandmass = -1;
                c.bRiver = 0;
                c.bForest = 0;
                c.bDesert = 0;
            }
        image = create_bitmap_ex(32, W, H);
        labels = create_bitmap_ex(32, W, H);
        noise = create_bitmap_ex(32, W, H);
        clear_to_color(labels, 0);
    }
    ~REFERENCE()
    {
        destroy_bitmap(image);
        destroy_bitmap(labels);
        destroy_bitmap(noise);
    }

    std::vector<PLANET_DIGEST> run()
    {
        climate(36, 6000.0f, (float)(6.963 * std::pow(10.0, 8.0)), 0.31f, 0.26f,
                (float)(1.496 * std::pow(10.0, 11.0)));
        record("climate");
        make_noise();
        record("noise");
        int x = 0;
        int y = 0;
        for (int i = 0; i < 500; i++)
            mountain(x, y);
        record("mountains");
        for (int i = 0; i < 300; i++)
            hole(x, y);
        record("holes");
        temperatures();
        record("temperature");

        for (int i = 0; i < 30; i++)
        {
            zone_x[i] = rnd() % 640;
            zone_y[i] = rnd() % 480;
            zone_r[i] = 5 + rnd() % 30;
        }
        record("zones");
        for (int i = 0; i < 30; i++)
        {
            int iX, iY;
            do
            {
                iX = rnd() % 640;
                iY = rnd() % 480;
            } while (!(cells[iX][iY].iHeight >= 8300 && cells[iX][iY].iHeight <= 17000));
            river(iX, iY);
        }
        record("rivers");
        clear_to_color(image, 0);
        for (int iX = 0; iX < W; iX++)
            for (int iY = 0; iY < H; iY++)
            {
                band(iX, iY, 5000);
                details(iX, iY);
            }
        record("colours");
        landmasses();
        record("landmasses");
        return v_Digests;
    }

private:
    int rnd()
    {
        uiState = uiState * 214013u + 2531011u;
        ++llDraws;
        return (int)((uiState >> 16) & 0x7FFF);
    }

    void record(const char* sStage)
    {
        PLANET_VIEW view{&cells[0][0], image, labels, noise, fBase, fSpread, fPole_drop, iOffset,
                         iHot, iLabels, zone_x, zone_y, zone_r, llDraws};
        record_stage(v_Digests, uiSeed_, sStage, view);
    }

    // ---- climate

    void climate(int W_, float T, float R, float A, float B, float D)
    {
        int g = 30 + rnd() % 200;
        if (A > 1.0f)
            A = 1.0f;
        if (B > 1.0f)
            B = 1.0f;
        iOffset = g > 200 ? 0 : (g < 50 ? 50 : 30);
        fSpread = (float)(20.0 / (1.496 * std::pow(10.0, 11.0)) * D);
        fPole_drop = (float)(g / (1.496 * std::pow(10.0, 11.0)) * D);
        float s = (1 - A) - B / 2;
        float q = (float)(std::sqrt((double)s) / (2 * D) * R);
        float K = (float)(T * std::sqrt((double)q) + W_);
        fBase = (float)(K * 1.8 - 459.67);
        fBase = (float)(fBase + 70.0);
    }

    int pixel_temperature(int latitude, int pixel, float height)
    {
        float green = (float)colour_green(pixel);
        float fPer_row = fPole_drop / 240;
        float fLatitude = latitude * fPer_row;
        float fSpread_term = (rnd() % 640) * (fSpread / 320) / 2;
        float fFactor = green == 0 ? 1.0f : (float)(green * -0.00075 + 1.04125);
        float fLapse = (float)(height / 1000 * 3.6);
        return (int)(((fBase - fLatitude - fSpread_term) * fFactor - fLapse) + iOffset);
    }

    // ---- terrain

    void make_noise()
    {
        BITMAP* scratch = create_bitmap_ex(32, 840, 680);
        clear_to_color(scratch, 0);
        int n = 50 + rnd() % 49;
        for (int i = 0; i < n; i++)
        {
            int green = 35 + rnd() % 220;
            int ry = 10 + rnd() % 90;
            int rx = 10 + rnd() % 90;
            int cy = 100 + rnd() % 480;
            int cx = 100 + rnd() % 640;
            ellipsefill(scratch, cx, cy, rx, ry, make_colour(0, green, 0));
        }
        for (int x = 0; x <= 99; x++)
            for (int y = 0; y < 680; y++)
                if (getpixel(scratch, x, y) != 0)
                    putpixel(scratch, x + 640, y, getpixel(scratch, x, y));
        for (int x = 740; x <= 839; x++)
            for (int y = 0; y < 680; y++)
                if (getpixel(scratch, x, y) != 0)
                    putpixel(scratch, x - 640, y, getpixel(scratch, x, y));
        for (int x = 0; x < W; x++)
            for (int y = 0; y < H; y++)
                putpixel(noise, x, y, getpixel(scratch, x + 100, y + 100));
        destroy_bitmap(scratch);
    }

    float decay_draw() { return (rnd() % 200) / 1000.0f + 0.785f; }

    // One spot of a walk. A mountain draws its fresh centre and its jump in the middle of
    // the grid, steps sideways on 80 in 100 and leaves its row alone; a hole draws both
    // anywhere, steps sideways on half and wraps its row.
    void walk_step(int& v, int threshold)
    {
        if (rnd() % 100 >= threshold)
        {
            int a = rnd() % 55;
            int b = rnd() % 55;
            v += a - b;
        }
    }

    void spot_walk(int& x, int& y, bool bMountain)
    {
        bool bFresh = x == 0 && y == 0;
        if (bFresh || rnd() % 100 >= 95)
        {
            if (bMountain && bFresh)
            {
                x = 224 + rnd() % 415;
                y = 168 + rnd() % 311;
            }
            else if (bMountain)
            {
                x = 96 + rnd() % 544;
                y = 72 + rnd() % 408;
            }
            else
            {
                x = rnd() % 640;
                y = rnd() % 480;
            }
        }
        else
        {
            walk_step(x, bMountain ? 20 : 50);
            if (x < 0)
                x += 640;
            else if (x > 639)
                x -= 640;
            walk_step(y, 50);
            if (!bMountain)
            {
                if (y < 0)
                    y += 480;
                else if (y > 479)
                    y -= 480;
            }
        }
        int amount;
        if (bMountain)
            amount = 10 + rnd() % 6250;
        else
        {
            amount = -(10 + rnd() % 5000);
            if (amount < -5000)
                amount = -5000;
        }
        float decay = decay_draw();
        spot(x, y, amount, decay);
    }

    void mountain(int& x, int& y) { spot_walk(x, y, true); }
    void hole(int& x, int& y) { spot_walk(x, y, false); }

    bool apply(int x, int y, int amount, int kind)
    {
        if (x < 0 || x >= 640 || y < 0 || y >= 480)
            return false;
        if (-15 < amount && amount < 15)
            return false;
        CELL& c = cells[x][y];
        c.iHeight += amount;
        c.iKind = c.iHeight < 2500 ? 1 : kind;
        if (c.iHeight > 25000)
            c.iHeight = 25000;
        if (c.iHeight < -25000)
            c.iHeight = -25000;
        return true;
    }

    static int decayed(int a, float decay) { return (int)(float)(a * decay); }

    void spot(int x, int y, int amount, float decay)
    {
        int kind = rnd() % 100;
        if (!apply(x, y, amount, kind))
            return;
        int next = decayed(amount, decay);
        right(x + 1, y, next, decay, kind);
        left(x - 1, y, next, decay, kind);
        down(x, y + 1, next, decay, kind);
        up(x, y - 1, next, decay, kind);
    }

    void right(int x, int y, int a, float decay, int kind)
    {
        if (x == 640)
            x = 0;
        if (!apply(x, y, a, kind))
            return;
        int next = decayed(a, decay);
        down(x, y + 1, next, decay, kind);
        up(x, y - 1, next, decay, kind);
        right(x + 1, y, next, decay, kind);
    }

    void left(int x, int y, int a, float decay, int kind)
    {
        if (x == -1)
            x = 639;
        if (!apply(x, y, a, kind))
            return;
        int next = decayed(a, decay);
        down(x, y + 1, next, decay, kind);
        up(x, y - 1, next, decay, kind);
        left(x - 1, y, next, decay, kind);
    }

    void up(int x, int y, int a, float decay, int kind)
    {
        if (100 <= y && y < 140)
            a = (int)(a * 0.99);
        else if (y < 100)
            a = (int)(a * 0.95);
        if (y < 0)
            return;
        if (!apply(x, y, a, kind))
            return;
        up(x, y - 1, decayed(a, decay), decay, kind);
    }

    void down(int x, int y, int a, float decay, int kind)
    {
        if (340 < y && y <= 380)
            a = (int)(a * 0.99);
        else if (y > 380)
            a = (int)(a * 0.95);
        if (y >= 480)
            return;
        if (!apply(x, y, a, kind))
            return;
        down(x, y + 1, decayed(a, decay), decay, kind);
    }

    void temperatures()
    {
        iHot = rnd() % 640;
        for (int x = 0; x < W; x++)
            for (int y = 0; y < H; y++)
                cells[x][y].fTemperature =
                    (float)pixel_temperature(std::abs(240 - y), getpixel(noise, x, y), (float)cells[x][y].iHeight);
    }

    // ---- rendering

    void river(int x, int y)
    {
        if (x < 0)
            x = 639;
        else if (x >= 640)
            x = 0;
        if (y < 0 || y > 479)
            return;
        for (;;)
        {
            cells[x][y].bRiver = 1;
            if (rnd() % 10000 < 10)
            {
                int dy = rnd() % 20;
                int dx = rnd() % 20;
                river(x + dx, y + dy);
            }
            // 0 none, 1 west, 2 east, 3 north, 4 south
            int best = cells[x][y].iHeight;
            int dir = 0;
            auto look = [&](int iX, int iY, int iDir) {
                int h = cells[iX][iY].iHeight;
                if (h <= best || rnd() % 100 > 90)
                {
                    best = h;
                    dir = iDir;
                }
            };
            if (x >= 1)
                look(x - 1, y, 1);
            if (x <= 638)
                look(x + 1, y, 2);
            if (y >= 1)
                look(x, y - 1, 3);
            if (y <= 478)
                look(x, y + 1, 4);
            if (dir == 0 || dir == 3 || dir == 4)
            {
                if (dir == 3)
                    y -= 1;
                if (dir == 4)
                    y += 1;
                if (rnd() % 100 > 45)
                {
                    if (rnd() % 100 > 50)
                        x -= 1;
                    else
                        x += 1;
                }
            }
            else
            {
                x += dir == 1 ? -1 : 1;
                if (rnd() % 100 > 45)
                {
                    if (rnd() % 100 > 50)
                        y -= 1;
                    else
                        y += 1;
                }
            }
            if (x < 0)
                x = 639;
            else if (x >= 640)
                x = 0;
            if (y < 0 || y > 479)
                return;
            if (cells[x][y].iHeight < 5000)
                return;
            if (rnd() % 1000 < 4)
                return;
        }
    }

    float shade(int x, int y)
    {
        if (x > 0 && y > 0)
        {
            int h = cells[x][y].iHeight;
            int n = cells[x - 1][y - 1].iHeight;
            if ((h > 5000 && n - 500 > h) || (h > 14000 && n - 100 > h))
                return 0.95f;
        }
        return 1.0f;
    }

    // The clamp as nested minimum and maximum: up to four evaluations, the last one kept.
    template <typename E>
    static float clamp_255(E e)
    {
        float v = e();
        float m = v < 255 ? e() : 255;
        if (m < 0)
            return 0;
        v = e();
        return v < 255 ? e() : 255;
    }

    // int(h × k − a draw below 10), shaded; blue, green and red in that order.
    float rough(float sh, int h, float k) { return sh * (int)(h * k - rnd() % 10); }
    void rough_colour(float sh, int h, float kb, float kg, float kr, float& r, float& g, float& b)
    {
        b = (int)rough(sh, h, kb);
        g = (int)rough(sh, h, kg);
        r = (int)rough(sh, h, kr);
    }
    // A clamped sand channel: int(h × k) less a draw below 20, plus the offset, shaded.
    float sand(float sh, int h, float k, int offset)
    {
        return clamp_255([&] { return sh * ((int)(h * k) - rnd() % 20 + offset); });
    }
    void forest_colour(int green, float& r, float& g, float& b)
    {
        r = 0;
        g = green + rnd() % 20;
        b = 0;
    }
    // The shaded rough value less a second draw, clamped.
    float rough_clamped(float sh, int h, float k, int spread)
    {
        return clamp_255([&] {
            float p = rough(sh, h, k);
            return p - rnd() % spread;
        });
    }

    void band(int x, int y, int S)
    {
        CELL& c = cells[x][y];
        int h = c.iHeight;
        float T = c.fTemperature;
        float sh = shade(x, y);
        float r = 0, g = 0, b = 0;
        if (h < S - 100)
        {
            float v = (float)h;
            if (v < 0)
                v = v / 5;
            b = clamp_255([&] { return sh * (int)(0.0102f * v + 45); });
            g = clamp_255([&] { return sh * (int)(0.0008f * v); });
            r = 0;
        }
        else if (h < S)
        {
            b = (int)(sh * (int)(h * 255 / (double)(S + 1000)));
            g = (int)(rnd() % 50 + sh * 130);
            r = 50 + rnd() % 50;
        }
        else if (h < 5300)
        {
            b = (int)(sh * (int)(h * 0.018867925f));
            g = (int)(sh * (int)(h * 0.025851581f) - rnd() % 30);
            r = (int)(sh * (int)(h * 0.031512607f) - rnd() % 30);
        }
        else if (h < 10050)
        {
            forest = false;
            for (int i = 0; i < 30; i++)
            {
                int dx = (x - zone_x[i]) / 2;
                int dy = y - zone_y[i];
                float d = (float)std::sqrt((double)(dx * dx + dy * dy));
                if (d < zone_r[i])
                {
                    forest = true;
                    int a1 = rnd() % 2;
                    int b1 = rnd() % 2;
                    zone_r[i] += a1 - b1;
                    c.bForest = 1;
                }
            }
            if (T >= 105 - rnd() % 7)
            {
                g = sand(sh, h, 0.010183299f, 110);
                r = sand(sh, h, 0.012362467f, 130);
                b = (int)(sh * ((int)(h * 0.007416747f) + 70));
                c.bDesert = 1;
            }
            else if (T < 32 + rnd() % 7)
            {
                int r100 = rnd() % 100;
                if (T > 10 && (r100 > 96 || (r100 > 60 && forest)))
                {
                    forest_colour(30, r, g, b);
                }
                else
                {
                    g = rough_clamped(sh, h, 0.013421053f, 20);
                    r = rough_clamped(sh, h, 0.011920344f, 20);
                    b = (int)rough(sh, h, 0.011047091f);
                }
            }
            else
            {
                int r100 = rnd() % 100;
                if (T < 98 && (r100 > 94 || (r100 > 40 && forest)))
                {
                    forest_colour(50, r, g, b);
                }
                else
                {
                    rough_colour(sh, h, 0.005193377f, 0.01182362f, 0.009392265f, r, g, b);
                }
            }
        }
        else if (h < 14000)
        {
            int r100 = rnd() % 100;
            if (T >= 105 - rnd() % 17)
            {
                g = sand(sh, h, 0.0076751863f, 60);
                r = sand(sh, h, 0.00935585f, 80);
                b = (int)(sh * ((int)(h * 0.005602241f) + 20));
                c.bDesert = 1;
            }
            else if (T < 32 + rnd() % 7)
            {
                if (T > 20 && (r100 > 94 || (r100 > 70 && forest)))
                {
                    forest_colour(30, r, g, b);
                }
                else
                {
                    rough_colour(sh, h, 0.009444444f, 0.01098475f, 0.01275f, r, g, b);
                }
            }
            else
            {
                if ((r100 > 94 && h < 12050) || r100 > 98 || (r100 > 80 && forest))
                {
                    r = 0;
                    g = 54;
                    b = 0;
                }
                else
                {
                    rough_colour(sh, h, 0.006375f, 0.01098475f, 0.01275f, r, g, b);
                }
            }
        }
        else
        {
            float kg = 0.0080826655f, kr = 0.0102f, kb = 0.006326915f;
            if (T < 45 - rnd() % 8)
            {
                kg = 0.0090380665f;
                kb = 0.008225806f;
            }
            g = rough_clamped(sh, h, kg, 10);
            r = rough_clamped(sh, h, kr, 10);
            float p = rough(sh, h, kb);
            b = (int)(p - rnd() % 10);
        }
        circlefill(image, x, y, 2, make_colour((int)r, (int)g, (int)b));
    }

    void speckle(int x, int y, int blue)
    {
        int g = 50 + rnd() % 50;
        int r = 50 + rnd() % 50;
        circlefill(image, x, y, 2, make_colour(r, g, blue));
    }

    void details(int x, int y)
    {
        int h = cells[x][y].iHeight;
        if (rnd() % 100 > 80 && h > 4700 - rnd() % 200 && h < 4600 + rnd() % 400)
            speckle(x, y, 250);
        if (rnd() % 100 > 95 && h > 4200 - rnd() % 200 && h < 4400 + rnd() % 200)
            speckle(x, y, 150);
        if (rnd() % 1000 > 990 && h < 5000)
            speckle(x, y, 105);
        if (cells[x][y].bRiver)
        {
            float sh = shade(x, y);
            float lift = h * 0.009090909f + 20;
            float b = clamp_255([&] { return sh * (int)(rnd() % 45 + lift); });
            float g = clamp_255([&] { return sh * (int)(h * 0.006818182f); });
            float r = clamp_255([&] { return sh * (int)(h * 0.0017241379f); });
            circlefill(image, x, y, 2, make_colour((int)r, (int)g, (int)b));
        }
        if (h > 5000)
            circlefill(labels, x, y, 2, 1);
    }

    void landmasses()
    {
        for (int x = 0; x < W; x++)
            for (int y = 0; y < H; y++)
                if (getpixel(labels, x, y) == 1)
                {
                    iLabels++;
                    floodfill(labels, x, y, iLabels);
                }
        for (int y = 0; y < H; y++)
            if (cells[0][y].iHeight > 5000 && cells[639][y].iHeight > 5000)
                floodfill(labels, 639, y, getpixel(labels, 0, y));
        for (int x = 0; x < W; x++)
            for (int y = 0; y < H; y++)
                cells[x][y].iLandmass = getpixel(labels, x, y);
    }

    unsigned int uiSeed_;
    unsigned int uiState;
    long long llDraws = 0;
    std::vector<PLANET_DIGEST> v_Digests;

    CELL cells[640][480];
    BITMAP* image;
    BITMAP* labels;
    BITMAP* noise;
    float fBase = 0, fSpread = 0, fPole_drop = 0;
    int iOffset = 0;
    int iHot = 200;
    int iLabels = 0;
    int zone_x[30] = {};
    int zone_y[30] = {};
    float zone_r[30] = {};
    bool forest = false;
};
}

std::vector<PLANET_DIGEST> reference_planet_digests(unsigned int uiSeed)
{
    solid_mode();
    std::unique_ptr<REFERENCE> pReference(new REFERENCE(uiSeed));
    return pReference->run();
}
