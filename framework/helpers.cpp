#include "framework/helpers.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "framework/image_header.h"

namespace
{
[[noreturn]] void die(const std::string& sMessage)
{
    fatal_exit(FAILURE_EXIT_CODE, true, {sMessage});
}

float square(float f)
{
    return f * f;
}

// The messages exec_repeated_sql and show_message_once have shown.
std::set<std::string>& shown_messages()
{
    static std::set<std::string> s_Shown;
    return s_Shown;
}
}

void fatal_exit(int iCode, bool bText_mode, std::initializer_list<std::string> l_Messages)
{
    if (bText_mode)
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    for (const std::string& sMessage : l_Messages)
        allegro_message("%s", sMessage.c_str());
    std::exit(iCode);
}

BITMAP* load_bitmap_or_die(const char* file, RGB* palette)
{
    // A header Allegro's loader would crash on, or a picture it hands back with no pixels or
    // a negative size, counts as a file that cannot be read.
    BITMAP* bmp = image_header_fits(file) ? load_bitmap(file, palette) : nullptr;
    if (bmp != nullptr && !bitmap_size_fits(bmp->w, bmp->h, (bitmap_color_depth(bmp) + 7) / 8))
    {
        destroy_bitmap(bmp);
        bmp = nullptr;
    }
    if (bmp == nullptr)
        die(std::string("ERROR:  Could not find/open '") + file + "'");
    return bmp;
}

bool bitmap_size_fits(int width, int height, int iBytes_per_pixel)
{
    if (width < 1 || height < 1 || iBytes_per_pixel < 1)
        return false;
    return (long long)width * height * iBytes_per_pixel <= INT_MAX;
}

BITMAP* create_bitmap_or_die(int width, int height)
{
    // Checked before Allegro sees it: a wrapped size would give a bitmap too small for itself.
    const int iBytes = (get_color_depth() + 7) / 8;
    BITMAP* bmp = bitmap_size_fits(width, height, iBytes) ? create_bitmap(width, height) : nullptr;
    if (bmp == nullptr)
        die("ERROR:  Could not create bitmap.  Memory error.");
    return bmp;
}

BITMAP* create_sub_bitmap_or_die(BITMAP* parent, int x, int y, int width, int height)
{
    BITMAP* bmp = create_sub_bitmap(parent, x, y, width, height);
    if (bmp == nullptr)
        die("ERROR:  Could not create bitmap.  Memory error.");
    return bmp;
}

size_t utf8_error_offset(const std::string& sText)
{
    const size_t iLength = sText.size();
    size_t i = 0;
    while (i < iLength)
    {
        const unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c < 0x80)
        {
            ++i;
            continue;
        }
        int iFollow = 0;
        unsigned char cLow = 0x80, cHigh = 0xBF; // the range of the first continuation byte
        if (c >= 0xC2 && c <= 0xDF)
            iFollow = 1;
        else if (c >= 0xE0 && c <= 0xEF)
        {
            iFollow = 2;
            if (c == 0xE0)
                cLow = 0xA0; // overlong
            if (c == 0xED)
                cHigh = 0x9F; // surrogates
        }
        else if (c >= 0xF0 && c <= 0xF4)
        {
            iFollow = 3;
            if (c == 0xF0)
                cLow = 0x90; // overlong
            if (c == 0xF4)
                cHigh = 0x8F; // past U+10FFFF
        }
        else
            return i;
        if (i + iFollow >= iLength) // cut short by the end of the text
            return i;
        for (int k = 1; k <= iFollow; ++k)
        {
            const unsigned char cNext = static_cast<unsigned char>(sText[i + k]);
            const unsigned char cMin = k == 1 ? cLow : 0x80;
            const unsigned char cMax = k == 1 ? cHigh : 0xBF;
            if (cNext < cMin || cNext > cMax)
                return i;
        }
        i += iFollow + 1;
    }
    return std::string::npos;
}

int line_of_offset(const std::string& sText, size_t iOffset)
{
    int iLine = 1;
    for (size_t i = 0; i < iOffset && i < sText.size(); ++i)
        if (sText[i] == '\n')
            ++iLine;
    return iLine;
}

std::string cut_text(const std::string& sText, size_t iMax)
{
    if (sText.size() <= iMax)
        return sText;
    size_t iEnd = iMax;
    // Back off continuation bytes so no character is split.
    while (iEnd > 0 && (static_cast<unsigned char>(sText[iEnd]) & 0xC0) == 0x80)
        --iEnd;
    return sText.substr(0, iEnd) + "...";
}

int read_file(const char* sPath, std::string& sText, size_t iMax)
{
    sText.clear();
    std::FILE* fIn = std::fopen(sPath, "rb");
    if (fIn == nullptr)
        return errno;
    char acBuffer[4096];
    size_t iRead;
    errno = 0;
    while ((iMax == 0 || sText.size() < iMax) && (iRead = std::fread(acBuffer, 1, sizeof(acBuffer), fIn)) > 0)
        sText.append(acBuffer, iRead);
    const int iError = std::ferror(fIn) ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(fIn);
    if (iMax != 0 && sText.size() > iMax)
        sText.resize(iMax);
    return iError;
}

void destroy_bitmap_if(BITMAP* bitmap)
{
    if (bitmap != nullptr)
        destroy_bitmap(bitmap);
}

float distance(float x1, float y1, float x2, float y2)
{
    float fSum = square(x2 - x1) + square(y2 - y1);
    return (float)std::sqrt((double)fSum);
}

float vector_length(float dx, float dy)
{
    float fSum = square(dx) + square(dy);
    return (float)std::sqrt((double)fSum);
}

std::string sql_quote(const std::string& sText)
{
    std::string sQuoted = "'";
    for (char c : sText)
    {
        if (c == '\'')
            sQuoted += '\'';
        sQuoted += c;
    }
    return sQuoted + "'";
}

std::string sql_error_text(sqlite3* db, const char* zErrMsg)
{
    if (zErrMsg != nullptr)
        return zErrMsg;
    return db != nullptr ? sqlite3_errmsg(db) : "unknown error";
}

void report_sql_error(sqlite3* db, char* zErrMsg)
{
    show_sql_error(sql_error_text(db, zErrMsg));
    sqlite3_free(zErrMsg);
}

void show_sql_error(const std::string& sError)
{
    allegro_message("ERROR: SQL error: %s\n", sError.c_str());
}

void exit_on_open_failure(sqlite3* db, const char* where, const char* path)
{
    exit_on_database_failure(db, where, "Can't open database", path, sqlite3_errmsg(db));
}

void exit_on_database_failure(sqlite3* db, const char* where, const char* sWhat, const char* path,
                              const std::string& sError)
{
    const std::string sMessage = database_failure_text(where, sWhat, path, sError);
    sqlite3_close(db);
    fatal_exit(FAILURE_EXIT_CODE, false, {sMessage});
}

std::string database_failure_text(const char* where, const char* sWhat, const char* path,
                                  const std::string& sError)
{
    std::string sMessage = std::string(sWhat) + ": " + path + ": " + sError + "\n";
    if (where != nullptr)
        sMessage = std::string("ERROR: ") + where + ": " + sMessage;
    return sMessage;
}

void exec_or_exit(sqlite3*& db, const char* where, const char* sPath, const char* sWhat,
                  const char* sSql, int (*fRow)(void*, int, char**, char**), const char* sAbort_error)
{
    char* zErrMsg = nullptr;
    const int iResult = sqlite3_exec(db, sSql, fRow, nullptr, &zErrMsg);
    if (iResult == SQLITE_OK)
        return;
    const std::string sError = iResult == SQLITE_ABORT && sAbort_error != nullptr ? sAbort_error
                                                                                : sql_error_text(db, zErrMsg);
    sqlite3_free(zErrMsg);
    sqlite3* pFailed = db;
    db = nullptr;
    exit_on_database_failure(pFailed, where, sWhat, sPath, sError);
}

const char* column_text(int argc, char** argv, int i)
{
    if (argv == nullptr || i >= argc || argv[i] == nullptr)
        return "";
    return argv[i];
}

void exec_sql(sqlite3* db, const char* sql)
{
    std::string sError;
    if (!try_sql(db, sql, sError))
        show_sql_error(sError);
}

bool try_sql(sqlite3* db, const char* sql, std::string& sError)
{
    char* zErrMsg = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &zErrMsg) == SQLITE_OK)
        return true;
    sError = sql_error_text(db, zErrMsg);
    sqlite3_free(zErrMsg);
    return false;
}

void exec_repeated_sql(sqlite3* db, const char* sql)
{
    std::string sError;
    if (!try_sql(db, sql, sError) && shown_messages().insert("SQL error: " + sError).second)
        show_sql_error(sError);
}

void show_message_once(const std::string& sText)
{
    if (shown_messages().insert(sText).second)
        allegro_message("%s", sText.c_str());
}

void forget_shown_messages()
{
    shown_messages().clear();
}

void show_progress(int x, int y, int colour, const char* sText)
{
    if (screen != nullptr)
        textprintf_ex(screen, font, x, y, colour, -1, "%s", sText);
}
