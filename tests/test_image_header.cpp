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

// An 8 x 4 picture of four colours saved by Allegro in the file's format.
std::string saved_picture(const char* sExtension)
{
    BITMAP* bmp = make_test_bitmap(8, 4, 0x102030);
    rectfill(bmp, 0, 0, 3, 1, 0xFF00FF);
    rectfill(bmp, 4, 2, 7, 3, 0x00C800);
    putpixel(bmp, 7, 0, 0x0000FF);
    const std::string sPath = std::string("saved") + sExtension;
    EXPECT_EQ(save_bitmap(sPath.c_str(), bmp, nullptr), 0);
    destroy_bitmap(bmp);
    return read_bytes(sPath);
}

// A Windows BMP of 8 or 4 bits a pixel with a palette of 16 greys, its pixel data as given.
std::string paletted_bmp(int iWidth, int iHeight, int iBits, int iCompression, const std::string& sData)
{
    std::string sPalette;
    for (int i = 0; i < 16; ++i)
        sPalette += std::string(3, (char)(i * 16)) + '\0';
    const std::uint32_t iOffset = 14 + 40 + (std::uint32_t)sPalette.size();
    std::string sInfo = u32_bytes(40) + u32_bytes((std::uint32_t)iWidth) + u32_bytes((std::uint32_t)iHeight) +
                        std::string("\x01\x00", 2) + (char)iBits + '\0' + u32_bytes(iCompression) +
                        u32_bytes((std::uint32_t)sData.size()) + u32_bytes(2835) + u32_bytes(2835) +
                        u32_bytes(16) + u32_bytes(0);
    return "BM" + u32_bytes(iOffset + (std::uint32_t)sData.size()) + u32_bytes(0) + u32_bytes(iOffset) + sInfo +
           sPalette + sData;
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
    {"PCX 4096 wide", ".pcx", [] { return patched(PCX(), [](std::string& s) { set_u16(s, 8, 4095); }); }, true},
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

TEST(ImageHeader, RefusesSizesAndRunsAllegrosLoadersWouldTrustIntoACrash)
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
