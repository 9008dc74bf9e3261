#include <gtest/gtest.h>

#include <allegro.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "framework/helpers.h"
#include "framework/image_header.h"
#include "tests/headless.h"

namespace
{
typedef std::function<void(std::string&)> PATCH;

void set_u16(std::string& s, size_t i, unsigned int v)
{
    s[i] = (char)(v & 0xFF);
    s[i + 1] = (char)(v >> 8 & 0xFF);
}
void set_u32(std::string& s, size_t i, std::uint32_t v)
{
    set_u16(s, i, v & 0xFFFF);
    set_u16(s, i + 2, v >> 16);
}
std::string u32_bytes(std::uint32_t v)
{
    std::string s(4, '\0');
    set_u32(s, 0, v);
    return s;
}

std::string read_bytes(const std::string& sPath)
{
    std::ifstream in(sPath, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string saved_bytes(BITMAP* bmp, const char* sExtension, const RGB* palette = nullptr)
{
    const std::string sPath = std::string("saved") + sExtension;
    EXPECT_EQ(save_bitmap(sPath.c_str(), bmp, palette), 0);
    destroy_bitmap(bmp);
    return read_bytes(sPath);
}

// An 8 x 4 picture of four colours saved by Allegro in the file's format.
std::string saved_picture(const char* sExtension)
{
    BITMAP* bmp = make_test_bitmap(8, 4, 0x102030);
    rectfill(bmp, 0, 0, 3, 1, 0xFF00FF);
    rectfill(bmp, 4, 2, 7, 3, 0x00C800);
    putpixel(bmp, 7, 0, 0x0000FF);
    return saved_bytes(bmp, sExtension);
}

// The same 8 x 4 picture as 256 colours, as a paletted PCX: the palette ends the file.
std::string saved_paletted_pcx()
{
    PALETTE pal;
    for (int i = 0; i < PAL_SIZE; ++i)
        pal[i] = RGB{(unsigned char)(i % 64), (unsigned char)(63 - i % 64), (unsigned char)(i / 4), 0};
    BITMAP* bmp = create_bitmap_ex(8, 8, 4);
    clear_to_color(bmp, 3);
    rectfill(bmp, 0, 0, 3, 1, 200);
    putpixel(bmp, 7, 0, 255);
    return saved_bytes(bmp, ".pcx", pal);
}

// A Windows BMP with a 40-byte header, what stands between it and the pixels (a palette, bit
// field masks) and its pixel data as given.
std::string windows_bmp(int iWidth, int iHeight, int iBits, int iCompression, const std::string& sBetween,
                        const std::string& sData)
{
    const std::uint32_t iOffset = 14 + 40 + (std::uint32_t)sBetween.size();
    std::string sInfo = u32_bytes(40) + u32_bytes((std::uint32_t)iWidth) + u32_bytes((std::uint32_t)iHeight) +
                        std::string("\x01\x00", 2) + (char)iBits + '\0' + u32_bytes(iCompression) +
                        u32_bytes((std::uint32_t)sData.size()) + u32_bytes(2835) + u32_bytes(2835) +
                        u32_bytes(16) + u32_bytes(0);
    return "BM" + u32_bytes(iOffset + (std::uint32_t)sData.size()) + u32_bytes(0) + u32_bytes(iOffset) + sInfo +
           sBetween + sData;
}

// A Windows BMP of 8 or 4 bits a pixel with a palette of 16 greys, its pixel data as given.
std::string paletted_bmp(int iWidth, int iHeight, int iBits, int iCompression, const std::string& sData)
{
    std::string sPalette;
    for (int i = 0; i < 16; ++i)
        sPalette += std::string(3, (char)(i * 16)) + '\0';
    return windows_bmp(iWidth, iHeight, iBits, iCompression, sPalette, sData);
}

std::string bytes(std::initializer_list<int> l_Bytes)
{
    std::string s;
    for (int i : l_Bytes)
        s += (char)i;
    return s;
}

const int BI_RLE8 = 1;
const int BI_RLE4 = 2;
// 4 x 2: the bottom row of colour 1, the top row 2, 3, 2, 3; as run-length data and as the
// plain rows they stand for (bottom row first, each padded to 4 bytes).
const std::string RLE8_DATA = bytes({4, 1, 0, 0, 0, 4, 2, 3, 2, 3, 0, 1});
const std::string RLE8_PLAIN = bytes({1, 1, 1, 1, 2, 3, 2, 3});
const std::string RLE4_DATA = bytes({4, 0x11, 0, 0, 0, 4, 0x23, 0x23, 0, 1});
const std::string RLE4_PLAIN = bytes({0x11, 0x11, 0, 0, 0x23, 0x23, 0, 0});
const int BI_BITFIELDS = 3;

// A 3 x 2 picture, top row first, of the colours below (at 1 bit a pixel the first two alone).
const int PICTURE[2][3] = {{3, 0, 1}, {0, 1, 2}};
const int COLOURS[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
int colour_index(int x, int y, int iBits)
{
    return PICTURE[y][x] & (iBits == 1 ? 1 : 3);
}

// Its plain rows, bottom up, each padded to 4 bytes; 16 bits are 5-5-5 or 5-6-5.
std::string picture_rows(int iBits, bool b565 = false)
{
    std::string sRows;
    for (int y = 1; y >= 0; --y)
    {
        std::string sRow;
        int iHeld = 0;
        int iPacked = 0;
        for (int x = 0; x < 3; ++x)
        {
            const int i = colour_index(x, y, iBits);
            const int r = COLOURS[i] >> 16 & 0xFF, g = COLOURS[i] >> 8 & 0xFF, b = COLOURS[i] & 0xFF;
            if (iBits <= 8)
            {
                iPacked = iPacked << iBits | i;
                iHeld += iBits;
                if (iHeld == 8)
                {
                    sRow += (char)iPacked;
                    iHeld = iPacked = 0;
                }
            }
            else if (iBits == 16)
            {
                const int v = b565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
                sRow += bytes({v & 0xFF, v >> 8});
            }
            else
                sRow += bytes({b, g, r}) + (iBits == 32 ? std::string(1, '\0') : "");
        }
        if (iHeld > 0)
            sRow += (char)(iPacked << (8 - iHeld));
        sRow.resize((sRow.size() + 3) / 4 * 4, '\0');
        sRows += sRow;
    }
    return sRows;
}

// The colours as palette entries: blue, green, red and, in a Windows file, a zero.
std::string picture_palette(bool bWindows)
{
    std::string sPalette;
    for (int c : COLOURS)
        sPalette += bytes({c & 0xFF, c >> 8 & 0xFF, c >> 16}) + (bWindows ? std::string(1, '\0') : "");
    return sPalette;
}

std::string masks(std::uint32_t iRed, std::uint32_t iGreen, std::uint32_t iBlue)
{
    return u32_bytes(iRed) + u32_bytes(iGreen) + u32_bytes(iBlue);
}

// An OS/2 BMP: a 12-byte header, then the palette as given and the pixels.
std::string os2_bmp(int iWidth, int iHeight, int iBits, const std::string& sPalette, const std::string& sData)
{
    const std::uint32_t iOffset = 14 + 12 + (std::uint32_t)sPalette.size();
    return "BM" + u32_bytes(iOffset + (std::uint32_t)sData.size()) + u32_bytes(0) + u32_bytes(iOffset) +
           u32_bytes(12) + bytes({iWidth & 0xFF, iWidth >> 8, iHeight & 0xFF, iHeight >> 8, 1, 0, iBits, 0}) +
           sPalette + sData;
}

struct CASE
{
    const char* sLabel;
    const char* sExtension;
    std::function<std::string()> fBytes;
    bool bFits;
};

std::string patched(const std::string& sBytes, const PATCH& fPatch)
{
    std::string s = sBytes;
    fPatch(s);
    return s;
}

// PCX header: corners xmin, ymin, xmax, ymax at 4, 6, 8, 10; bytes a line at 66.
std::string PCX()
{
    static const std::string s_Bytes = saved_picture(".pcx");
    return s_Bytes;
}
// BMP: data offset at 10, width at 18, height at 22.
std::string BMP()
{
    static const std::string s_Bytes = saved_picture(".bmp");
    return s_Bytes;
}

const CASE CASES[] = {
    {"PCX as saved", ".pcx", [] { return PCX(); }, true},
    {"PCX 4096 wide", ".pcx", [] { return saved_bytes(make_test_bitmap(4096, 2, 0x123456), ".pcx"); }, true},
    {"PCX 1 x 1", ".pcx", [] { return saved_bytes(make_test_bitmap(1, 1, 0x123456), ".pcx"); }, true},
    {"PCX paletted", ".pcx", [] { return saved_paletted_pcx(); }, true},
    {"PCX header wider than its rows", ".pcx",
     [] { return patched(PCX(), [](std::string& s) { set_u16(s, 8, 4095); }); }, false},
    {"PCX cut in half", ".pcx", [] { return PCX().substr(0, PCX().size() / 2); }, false},
    {"PCX cut by a byte", ".pcx", [] { return PCX().substr(0, PCX().size() - 1); }, false},
    {"PCX 20000 x 20000 header on 8 x 4 rows", ".pcx",
     [] { return patched(PCX(), [](std::string& s) { set_u16(s, 8, 19999); set_u16(s, 10, 19999); set_u16(s, 66, 20000); }); },
     false},
    {"PCX 65535 bytes a line", ".pcx", [] { return patched(PCX(), [](std::string& s) { set_u16(s, 66, 65535); }); }, false},
    {"PCX 4 bits a plane", ".pcx", [] { return patched(PCX(), [](std::string& s) { s[3] = 4; }); }, false},
    {"PCX 2 planes", ".pcx", [] { return patched(PCX(), [](std::string& s) { s[65] = 2; }); }, false},
    {"PCX paletted without its palette", ".pcx",
     [] { return saved_paletted_pcx().substr(0, saved_paletted_pcx().size() - 769); }, false},
    {"PCX paletted, its palette cut short", ".pcx",
     [] { return saved_paletted_pcx().substr(0, saved_paletted_pcx().size() - 100); }, false},
    {"PCX corners at 65535", ".pcx",
     [] { return patched(PCX(), [](std::string& s) { set_u16(s, 8, 65535); set_u16(s, 10, 65535); }); }, false},
    {"PCX xmin past xmax", ".pcx", [] { return patched(PCX(), [](std::string& s) { set_u16(s, 4, 20); }); }, false},
    {"PCX both corners swapped", ".pcx",
     [] { return patched(PCX(), [](std::string& s) { set_u16(s, 4, 20); set_u16(s, 6, 20); }); }, false},
    {"PCX no columns", ".pcx", [] { return patched(PCX(), [](std::string& s) { set_u16(s, 4, 8); }); }, false},
    {"PCX no bytes a line", ".pcx", [] { return patched(PCX(), [](std::string& s) { set_u16(s, 66, 0); }); }, false},
    {"PCX 65535 lines of 65535 bytes", ".pcx",
     [] { return patched(PCX(), [](std::string& s) { set_u16(s, 66, 65535); set_u16(s, 10, 65534); }); }, false},
    {"PCX header cut short", ".pcx", [] { return PCX().substr(0, 100); }, false},
    {"BMP as saved", ".bmp", [] { return BMP(); }, true},
    {"BMP negative width", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u32(s, 18, -8); }); }, false},
    {"BMP no columns", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u32(s, 18, 0); }); }, false},
    {"BMP lowest int height", ".bmp",
     [] { return patched(BMP(), [](std::string& s) { set_u32(s, 22, (std::uint32_t)INT_MIN); }); }, false},
    {"BMP 65536 x 65536", ".bmp",
     [] { return patched(BMP(), [](std::string& s) { set_u32(s, 18, 65536); set_u32(s, 22, 65536); }); }, false},
    {"BMP pixels past the end", ".bmp",
     [] { return patched(BMP(), [](std::string& s) { set_u32(s, 10, 0x7FFFFFFF); }); }, false},
    {"BMP header cut short", ".bmp", [] { return BMP().substr(0, 30); }, false},
    {"BMP cut in half", ".bmp", [] { return BMP().substr(0, BMP().size() / 2); }, false},
    {"BMP cut by a byte", ".bmp", [] { return BMP().substr(0, BMP().size() - 1); }, false},
    {"BMP 23000 x 23000 header on 8 x 4 rows", ".bmp",
     [] { return patched(BMP(), [](std::string& s) { set_u32(s, 18, 23000); set_u32(s, 22, 23000); }); }, false},
    {"BMP 7 bits a pixel", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u16(s, 28, 7); }); }, false},
    {"BMP no bits a pixel", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u16(s, 28, 0); }); }, false},
    {"BMP pixels inside the header", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u32(s, 10, 40); }); },
     false},
    {"BMP header of 108 bytes", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u32(s, 14, 108); }); },
     false},
    {"BMP compression of another kind", ".bmp", [] { return patched(BMP(), [](std::string& s) { set_u32(s, 30, 4); }); },
     false},
    {"BMP bit fields in 24 bits", ".bmp",
     [] { return windows_bmp(3, 2, 24, BI_BITFIELDS, masks(0xFF0000, 0xFF00, 0xFF), picture_rows(24)); }, false},
    {"BMP bit fields the loader does not know", ".bmp",
     [] { return windows_bmp(3, 2, 16, BI_BITFIELDS, masks(0xF00, 0xF0, 0xF), picture_rows(16)); }, false},
    {"BMP bit fields of mixed masks", ".bmp",
     [] { return windows_bmp(3, 2, 16, BI_BITFIELDS, masks(0xF800, 0x3E0, 0x1F), picture_rows(16, true)); }, false},
    {"BMP bit fields away from their masks", ".bmp",
     [] { return windows_bmp(3, 2, 32, BI_BITFIELDS, masks(0xFF0000, 0xFF00, 0xFF) + u32_bytes(0), picture_rows(32)); },
     false},
    {"BMP bit fields cut short", ".bmp",
     [] { return windows_bmp(3, 2, 32, BI_BITFIELDS, masks(0xFF0000, 0xFF00, 0xFF), picture_rows(32).substr(4)); },
     false},
    {"BMP OS/2 7 bits a pixel", ".bmp", [] { return os2_bmp(3, 2, 7, picture_palette(false), picture_rows(8)); },
     false},
    {"BMP OS/2 cut short", ".bmp", [] { return os2_bmp(3, 2, 24, "", picture_rows(24).substr(1)); }, false},
    {"RLE8 at 4 bits a pixel", ".bmp", [] { return paletted_bmp(4, 2, 4, BI_RLE8, RLE8_DATA); }, false},
    {"RLE4 at 8 bits a pixel", ".bmp", [] { return paletted_bmp(4, 2, 8, BI_RLE4, RLE4_DATA); }, false},
    {"BMP OS/2 header with no rows", ".bmp",
     [] { return "BM" + u32_bytes(26 + 24) + u32_bytes(0) + u32_bytes(26) + u32_bytes(12) +
                 bytes({2, 0, 0, 0, 1, 0, 24, 0}) + std::string(24, 'x'); },
     false},
    {"RLE8", ".bmp", [] { return paletted_bmp(4, 2, 8, BI_RLE8, RLE8_DATA); }, true},
    {"RLE8 ending with its last row", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({4, 1, 0, 0, 4, 2, 0, 0})); }, true},
    {"RLE8 jump within", ".bmp",
     [] { return paletted_bmp(4, 3, 8, BI_RLE8, bytes({2, 1, 0, 2, 1, 1, 1, 5, 0, 1})); }, true},
    {"RLE4 odd stretch", ".bmp",
     [] { return paletted_bmp(5, 1, 4, BI_RLE4, bytes({0, 5, 0x12, 0x34, 0x50, 0, 0, 1})); }, true},
    {"RLE8 run past the row", ".bmp", [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({5, 1, 0, 1})); }, false},
    {"RLE8 stretch past the row", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({2, 1, 0, 3, 7, 7, 7, 0, 0, 1})); }, false},
    {"RLE4 run past the row", ".bmp", [] { return paletted_bmp(4, 2, 4, BI_RLE4, bytes({5, 0x11, 0, 1})); }, false},
    {"RLE8 jump past the top", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({0, 2, 0, 2, 1, 1, 0, 1})); }, false},
    {"RLE8 jump past the row", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({0, 2, 200, 0, 0, 0, 0, 1})); }, false},
    {"RLE8 ending before its rows", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({4, 1, 0, 0, 2, 1})); }, false},
    {"RLE8 stretch past the end", ".bmp",
     [] { return paletted_bmp(4, 2, 8, BI_RLE8, bytes({0, 4, 1, 1})); }, false},
    {"RLE8 rows top down", ".bmp", [] { return paletted_bmp(4, -2, 8, BI_RLE8, RLE8_DATA); }, false},
    {"RLE8 between palette entries", ".bmp",
     [] { return patched(paletted_bmp(4, 2, 8, BI_RLE8, RLE8_DATA), [](std::string& s) { set_u32(s, 10, 14 + 40 + 63); }); },
     false},
};

// Files are written to the working directory, each test's own.
std::string write_here(const std::string& sName, const std::string& sBytes)
{
    std::ofstream(sName, std::ios::binary) << sBytes;
    return sName;
}
}

TEST(ImageHeader, RefusesPicturesAllegrosLoadersWouldCrashOnOrMisread)
{
    WORKING_DIRECTORY wdDir;
    for (const CASE& cCase : CASES)
    {
        const std::string sPath = write_here(std::string("case") + cCase.sExtension, cCase.fBytes());
        EXPECT_EQ(image_header_fits(sPath.c_str()), cCase.bFits) << cCase.sLabel;
        if (!cCase.bFits)
            continue;
        // What passes loads whole.
        BITMAP* bmp = load_bitmap(sPath.c_str(), nullptr);
        ASSERT_NE(bmp, nullptr) << cCase.sLabel;
        EXPECT_GT(bmp->w, 0) << cCase.sLabel;
        EXPECT_GT(bmp->h, 0) << cCase.sLabel;
        destroy_bitmap(bmp);
    }
}

TEST(ImageHeader, RunLengthPicturesLoadAsTheirPlainRows)
{
    WORKING_DIRECTORY wdDir;
    const std::pair<std::string, std::string> l_Pairs[] = {
        {paletted_bmp(4, 2, 8, BI_RLE8, RLE8_DATA), paletted_bmp(4, 2, 8, 0, RLE8_PLAIN)},
        {paletted_bmp(4, 2, 4, BI_RLE4, RLE4_DATA), paletted_bmp(4, 2, 4, 0, RLE4_PLAIN)},
    };
    for (const auto& k : l_Pairs)
    {
        const std::string sPacked = write_here("packed.bmp", k.first);
        const std::string sPlain = write_here("plain.bmp", k.second);
        BITMAP* bmpPacked = load_bitmap_or_die(sPacked.c_str(), nullptr);
        BITMAP* bmpPlain = load_bitmap_or_die(sPlain.c_str(), nullptr);
        EXPECT_TRUE(same_pixels(bmpPacked, bmpPlain));
        EXPECT_NE(getpixel(bmpPlain, 0, 1), getpixel(bmpPlain, 0, 0));
        EXPECT_NE(getpixel(bmpPlain, 0, 0), getpixel(bmpPlain, 1, 0));
        destroy_bitmap(bmpPacked);
        destroy_bitmap(bmpPlain);
    }
}

TEST(ImageHeader, EveryDepthTheLoaderReadsShowsItsPixels)
{
    WORKING_DIRECTORY wdDir;
    const std::string sFields555 = masks(0x7C00, 0x03E0, 0x001F);
    const std::string sFields565 = masks(0xF800, 0x07E0, 0x001F);
    const std::string sFields888 = masks(0xFF0000, 0xFF00, 0xFF);
    const struct
    {
        const char* sLabel;
        int iBits;
        std::string sBytes;
    } l_Files[] = {
        {"1 bit", 1, windows_bmp(3, 2, 1, 0, picture_palette(true).substr(0, 8), picture_rows(1))},
        {"4 bits", 4, windows_bmp(3, 2, 4, 0, picture_palette(true), picture_rows(4))},
        {"8 bits", 8, windows_bmp(3, 2, 8, 0, picture_palette(true), picture_rows(8))},
        {"16 bits", 16, windows_bmp(3, 2, 16, 0, "", picture_rows(16))},
        {"24 bits", 24, windows_bmp(3, 2, 24, 0, "", picture_rows(24))},
        {"32 bits", 32, windows_bmp(3, 2, 32, 0, "", picture_rows(32))},
        {"5-5-5 bit fields", 16, windows_bmp(3, 2, 16, BI_BITFIELDS, sFields555, picture_rows(16))},
        {"5-6-5 bit fields", 16, windows_bmp(3, 2, 16, BI_BITFIELDS, sFields565, picture_rows(16, true))},
        {"8-8-8 bit fields", 32, windows_bmp(3, 2, 32, BI_BITFIELDS, sFields888, picture_rows(32))},
        {"OS/2 8 bits", 8, os2_bmp(3, 2, 8, picture_palette(false), picture_rows(8))},
        {"OS/2 24 bits", 24, os2_bmp(3, 2, 24, "", picture_rows(24))},
    };
    for (const auto& k : l_Files)
    {
        const std::string sPath = write_here("depth.bmp", k.sBytes);
        ASSERT_TRUE(image_header_fits(sPath.c_str())) << k.sLabel;
        BITMAP* bmp = load_bitmap_or_die(sPath.c_str(), nullptr);
        ASSERT_EQ(bmp->w, 3) << k.sLabel;
        ASSERT_EQ(bmp->h, 2) << k.sLabel;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(getpixel(bmp, x, y) & 0xFFFFFF, COLOURS[colour_index(x, y, k.iBits)])
                    << k.sLabel << " at " << x << ", " << y;
        destroy_bitmap(bmp);
    }
}

TEST(ImageHeader, OtherKindsAreLeftToTheirLoadersAndAFileThatCannotBeReadFails)
{
    WORKING_DIRECTORY wdDir;
    EXPECT_TRUE(image_header_fits(write_here("noise.tga", "not a picture").c_str()));
    EXPECT_FALSE(image_header_fits("none.pcx"));
    std::filesystem::create_directory("folder.bmp");
    EXPECT_FALSE(image_header_fits("folder.bmp"));
    // The extension decides, in any case.
    EXPECT_FALSE(image_header_fits(write_here("short.PCX", "short").c_str()));
    EXPECT_FALSE(image_header_fits(write_here("short.Bmp", "BM").c_str()));
}

TEST(ImageHeaderDeathTest, ABadPictureEndsLikeAMissingOne)
{
    WORKING_DIRECTORY wdDir;
    std::filesystem::create_directories("data/images");
    for (const CASE& cCase : CASES)
    {
        if (cCase.bFits)
            continue;
        const std::string sPath = std::string("./data/images/picture") + cCase.sExtension;
        std::ofstream(sPath, std::ios::binary) << cCase.fBytes();
        EXPECT_EXIT_SAYING(load_bitmap_or_die(sPath.c_str(), nullptr), 1,
                           "^ERROR:  Could not find/open '\\./data/images/picture\\" + std::string(cCase.sExtension) +
                               "'$")
            << cCase.sLabel;
    }
    // A picture the loader hands back without columns, of a kind whose header is not read.
    BITMAP* bmp = make_test_bitmap(4, 3, 0x123456);
    ASSERT_EQ(save_bitmap("./data/images/picture.tga", bmp, nullptr), 0);
    destroy_bitmap(bmp);
    std::string sTga = read_bytes("./data/images/picture.tga");
    set_u16(sTga, 12, 0);
    std::ofstream("./data/images/picture.tga", std::ios::binary) << sTga;
    EXPECT_EXIT_SAYING(load_bitmap_or_die("./data/images/picture.tga", nullptr), 1,
                       "^ERROR:  Could not find/open '\\./data/images/picture\\.tga'$");
}
