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
// Allegro reads 8 bits a plane, in one plane (palette indices) or three (red, green, blue).
const unsigned int PCX_BITS_PER_PLANE = 8;
const unsigned int PCX_PALETTE_MARK = 12;
const size_t PCX_PALETTE = 256 * 3;
const size_t BMP_FILE_HEADER = 14;
const size_t BMP_OS2_INFO = 12;
const size_t BMP_WINDOWS_INFO = 40;
const size_t BMP_PALETTE_ENTRY = 4;
const size_t BMP_MASKS = 3 * 4;
const std::uint32_t BI_RGB = 0;
const std::uint32_t BI_RLE8 = 1;
const std::uint32_t BI_RLE4 = 2;
const std::uint32_t BI_BITFIELDS = 3;

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

// Walks the run-length rows as Allegro's decoder reads them: a byte with both top bits set
// repeats the next byte as often as its low six bits say (a run past the end of a row is cut
// there), any other byte stands for itself. False when the file ends before the last row:
// the decoder would read on past the end as runs of 255 and show those. iAt ends where the
// rows do.
bool pcx_rows_fit(const std::string& sBytes, size_t& iAt, long long iRows, long long iRow_bytes)
{
    for (long long iRow = 0; iRow < iRows; ++iRow)
        for (long long x = 0; x < iRow_bytes;)
        {
            if (iAt >= sBytes.size())
                return false;
            const unsigned int iByte = u8(sBytes, iAt++);
            if ((iByte & 0xC0) != 0xC0)
            {
                ++x;
                continue;
            }
            if (iAt >= sBytes.size())
                return false;
            ++iAt;
            x += iByte & 0x3F;
        }
    return true;
}

// The loader takes the picture as xmax - xmin + 1 by ymax - ymin + 1 however the corners lie,
// so corners the wrong way round make it negative. Every row decodes bytes_per_line bytes for
// each plane, of which the picture takes its width: fewer would leave pixels unwritten. After
// a paletted picture's rows the loader takes its 256 colours from behind the first byte 12;
// without them the pixels have no colours.
bool pcx_fits(const std::string& sBytes)
{
    if (sBytes.size() < PCX_HEADER)
        return false;
    const unsigned int iPlanes = u8(sBytes, 65);
    if (u8(sBytes, 3) != PCX_BITS_PER_PLANE || (iPlanes != 1 && iPlanes != 3))
        return false;
    const long long iWidth = (long long)u16(sBytes, 8) - u16(sBytes, 4) + 1;
    const long long iHeight = (long long)u16(sBytes, 10) - u16(sBytes, 6) + 1;
    const unsigned int iLine = u16(sBytes, 66);
    if (!size_fits(iWidth, iHeight) || iLine < iWidth)
        return false;
    size_t iAt = PCX_HEADER;
    if (!pcx_rows_fit(sBytes, iAt, iHeight, (long long)iLine * iPlanes))
        return false;
    if (iPlanes == 3)
        return true;
    const size_t iMark = sBytes.find((char)PCX_PALETTE_MARK, iAt);
    return iMark != std::string::npos && sBytes.size() - iMark - 1 >= PCX_PALETTE;
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

// Plain rows, as Allegro reads them: 1, 4, 8, 16, 24 or 32 bits a pixel, each row padded to
// whole 4 bytes, all of them inside the file from where the pixels start. The loader takes any
// other depth for 8 bits and shows a picture of one colour.
bool plain_rows_fit(const std::string& sBytes, size_t iData, unsigned int iBits, long long iWidth, long long iHeight)
{
    if (iBits != 1 && iBits != 4 && iBits != 8 && iBits != 16 && iBits != 24 && iBits != 32)
        return false;
    const long long iStride = (iWidth * iBits + 31) / 32 * 4;
    return iData <= sBytes.size() && iHeight <= (long long)(sBytes.size() - iData) / iStride;
}

// The bit fields the loader knows, 5-5-5 or 5-6-5 in 16 bits and 8-8-8 in 32, decide how many
// bytes it reads a pixel, whatever the header's depth says.
bool bit_fields_known(const std::string& sBytes, unsigned int iBits)
{
    const size_t iMasks = BMP_FILE_HEADER + BMP_WINDOWS_INFO;
    const std::uint32_t iRed = u32(sBytes, iMasks);
    const std::uint32_t iGreen = u32(sBytes, iMasks + 4);
    const std::uint32_t iBlue = u32(sBytes, iMasks + 8);
    if (iBits == 16)
        return iBlue == 0x1F && ((iRed == 0x7C00 && iGreen == 0x3E0) || (iRed == 0xF800 && iGreen == 0x7E0));
    return iBits == 32 && iRed == 0xFF0000 && iGreen == 0xFF00 && iBlue == 0xFF;
}

// A Windows header's width and height are signed (a negative height: rows top down), an
// OS/2 header's unsigned 16-bit; the loader reads no other kind. The pixels start where the
// file header says, past the header and its palette entries, except that bit fields are read
// right after their masks; run-length data must run bottom up from where the palette's entries
// end, at 8 bits a pixel for RLE8 and 4 for RLE4.
bool bmp_fits(const std::string& sBytes)
{
    if (sBytes.size() < BMP_FILE_HEADER + 4)
        return false;
    const std::uint32_t iData = u32(sBytes, 10);
    if (iData > sBytes.size())
        return false;
    const std::uint32_t iInfo = u32(sBytes, BMP_FILE_HEADER);
    if (iInfo == BMP_OS2_INFO)
    {
        if (sBytes.size() < BMP_FILE_HEADER + BMP_OS2_INFO || iData < BMP_FILE_HEADER + BMP_OS2_INFO)
            return false;
        const long long iWidth = u16(sBytes, 18);
        const long long iHeight = u16(sBytes, 20);
        return size_fits(iWidth, iHeight) && plain_rows_fit(sBytes, iData, u16(sBytes, 24), iWidth, iHeight);
    }
    const size_t iPalette_start = BMP_FILE_HEADER + BMP_WINDOWS_INFO;
    if (iInfo != BMP_WINDOWS_INFO || sBytes.size() < iPalette_start || iData < iPalette_start)
        return false;
    const long long iWidth = (std::int32_t)u32(sBytes, 18);
    const long long iHeight = (std::int32_t)u32(sBytes, 22);
    const long long iRows = iHeight < 0 ? -iHeight : iHeight;
    if (!size_fits(iWidth, iRows))
        return false;
    const unsigned int iBits = u16(sBytes, 28);
    const std::uint32_t iCompression = u32(sBytes, 30);
    switch (iCompression)
    {
    case BI_RGB:
        return plain_rows_fit(sBytes, iData, iBits, iWidth, iRows);
    case BI_BITFIELDS:
        return iData == iPalette_start + BMP_MASKS && bit_fields_known(sBytes, iBits) &&
               plain_rows_fit(sBytes, iData, iBits, iWidth, iRows);
    case BI_RLE8:
    case BI_RLE4:
    {
        const bool bFour_bits = iCompression == BI_RLE4;
        if (iBits != (bFour_bits ? 4u : 8u) || iHeight < 0 || (iData - iPalette_start) % BMP_PALETTE_ENTRY != 0)
            return false;
        return runs_stay_inside(sBytes, iData, iWidth, iHeight, bFour_bits);
    }
    default:
        return false; // the loader refuses it
    }
}
}

bool image_header_fits(const char* file)
{
    const bool bPcx = has_extension(file, ".pcx");
    if (!bPcx && !has_extension(file, ".bmp"))
        return true;
    std::string sBytes;
    if (read_file(file, sBytes) != 0)
        return false;
    return bPcx ? pcx_fits(sBytes) : bmp_fits(sBytes);
}
