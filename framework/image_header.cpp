#include "framework/image_header.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "framework/helpers.h"

namespace
{
// A loaded picture is converted to the screen's depth, at most 4 bytes a pixel.
const int LOADED_BYTES_PER_PIXEL = 4;

const size_t PCX_HEADER = 128;
const size_t BMP_FILE_HEADER = 14;
const size_t BMP_OS2_INFO = 12;
const size_t BMP_WINDOWS_INFO = 40;
const size_t BMP_PALETTE_ENTRY = 4;
const std::uint32_t BI_RLE8 = 1;
const std::uint32_t BI_RLE4 = 2;

// Little-endian fields.
unsigned int u8(const std::string& sBytes, size_t i)
{
    return (unsigned char)sBytes[i];
}
unsigned int u16(const std::string& sBytes, size_t i)
{
    return u8(sBytes, i) | u8(sBytes, i + 1) << 8;
}
std::uint32_t u32(const std::string& sBytes, size_t i)
{
    return u16(sBytes, i) | (std::uint32_t)u16(sBytes, i + 2) << 16;
}

bool has_extension(const char* file, const char* sExtension)
{
    const size_t iFile = std::strlen(file);
    const size_t iExtension = std::strlen(sExtension);
    if (iFile < iExtension)
        return false;
    for (size_t i = 0; i < iExtension; ++i)
        if (std::tolower((unsigned char)file[iFile - iExtension + i]) != sExtension[i])
            return false;
    return true;
}

bool size_fits(long long iWidth, long long iHeight)
{
    return iWidth <= INT_MAX && iHeight <= INT_MAX &&
           bitmap_size_fits((int)iWidth, (int)iHeight, LOADED_BYTES_PER_PIXEL);
}

// The loader takes the picture as xmax - xmin + 1 by ymax - ymin + 1 however the corners lie,
// so corners the wrong way round make it negative. Every row decodes bytes_per_line bytes for each plane, picture or not: bounded like the
// picture, so a crafted one cannot keep the loader busy for minutes.
bool pcx_fits(const std::string& sBytes)
{
    if (sBytes.size() < PCX_HEADER)
        return false;
    const long long iWidth = (long long)u16(sBytes, 8) - u16(sBytes, 4) + 1;
    const long long iHeight = (long long)u16(sBytes, 10) - u16(sBytes, 6) + 1;
    return size_fits(iWidth, iHeight) && size_fits(u16(sBytes, 66), iHeight);
}

// Walks run-length data the way Allegro's decoder writes it, from the bottom row up, with
// the picture's bounds it never checks itself. False when a run, an absolute stretch or a
// jump would leave the picture, or the data ends while rows are left (the decoder would read
// the end of the file as runs of 255). A word-aligned absolute stretch of n pixels takes
// n bytes at 8 bits, n / 2 rounded up at 4.
bool runs_stay_inside(const std::string& sBytes, size_t iAt, long long iWidth, long long iHeight, bool bFour_bits)
{
    long long iLine = iHeight - 1;
    long long iPos = 0;
    for (;;)
    {
        if (iAt + 2 > sBytes.size())
            return false;
        const unsigned int iCount = u8(sBytes, iAt);
        const unsigned int iCode = u8(sBytes, iAt + 1);
        iAt += 2;
        if (iCount > 0)
            iPos += iCount;
        else if (iCode == 0) // end of row
        {
            iPos = 0;
            if (--iLine < 0)
                return true;
        }
        else if (iCode == 1) // end of picture
            return true;
        else if (iCode == 2) // jump right and up
        {
            if (iAt + 2 > sBytes.size())
                return false;
            iPos += u8(sBytes, iAt);
            iLine -= u8(sBytes, iAt + 1);
            iAt += 2;
            if (iLine < 0)
                return false;
        }
        else
        {
            const size_t iBytes = bFour_bits ? (iCode + 1) / 2 : iCode;
            iAt += (iBytes + 1) / 2 * 2;
            if (iAt > sBytes.size())
                return false;
            iPos += iCode;
        }
        if (iPos > iWidth)
            return false;
    }
}

// A Windows header's width and height are signed (a negative height: rows top down), an
// OS/2 header's unsigned 16-bit. The loader skips to the pixels one byte at a time, so they
// must start inside the file; run-length data must run bottom up from where the palette's
// entries end.
bool bmp_fits(const std::string& sBytes)
{
    if (sBytes.size() < BMP_FILE_HEADER + 4)
        return false;
    const std::uint32_t iData = u32(sBytes, 10);
    if (iData > sBytes.size())
        return false;
    const std::uint32_t iInfo = u32(sBytes, BMP_FILE_HEADER);
    if (iInfo == BMP_OS2_INFO)
        return sBytes.size() >= BMP_FILE_HEADER + BMP_OS2_INFO && size_fits(u16(sBytes, 18), u16(sBytes, 20));
    if (iInfo < BMP_WINDOWS_INFO)
        return true; // the loader refuses it
    if (sBytes.size() < BMP_FILE_HEADER + BMP_WINDOWS_INFO)
        return false;
    const long long iWidth = (std::int32_t)u32(sBytes, 18);
    const long long iHeight = (std::int32_t)u32(sBytes, 22);
    if (!size_fits(iWidth, iHeight < 0 ? -iHeight : iHeight))
        return false;
    const std::uint32_t iCompression = u32(sBytes, 30);
    if (iCompression != BI_RLE8 && iCompression != BI_RLE4)
        return true;
    const size_t iPalette_start = BMP_FILE_HEADER + BMP_WINDOWS_INFO;
    if (iHeight < 0 || iData < iPalette_start || (iData - iPalette_start) % BMP_PALETTE_ENTRY != 0)
        return false;
    return runs_stay_inside(sBytes, iData, iWidth, iHeight, iCompression == BI_RLE4);
}
}

bool image_header_fits(const char* file)
{
    const bool bPcx = has_extension(file, ".pcx");
    if (!bPcx && !has_extension(file, ".bmp"))
        return true;
    // A PCX is judged by its header; a BMP's pixels are read too, for where they start and for
    // run-length data.
    std::string sBytes;
    if (read_file(file, sBytes, bPcx ? PCX_HEADER : 0) != 0)
        return false;
    return bPcx ? pcx_fits(sBytes) : bmp_fits(sBytes);
}
