#pragma once

#include <allegro.h>
#include <sqlite3.h>

#include <cstdint>
#include <initializer_list>
#include <list>
#include <string>

// Every path the game cannot go on from ends here. With bText_mode the screen first goes back
// to text mode, as a box cannot show over a video mode; then each message gets its own box, in
// order, and the process ends with iCode. A failure ends with FAILURE_EXIT_CODE, so a script or
// a launcher never takes it for a normal end; only a quit ends with 0.
constexpr int FAILURE_EXIT_CODE = 1;
[[noreturn]] void fatal_exit(int iCode, bool bText_mode, std::initializer_list<std::string> l_Messages);

// Bitmaps the game cannot do without: on failure these switch to text mode, say why and
// end the process as a failure, so they never return null.
BITMAP* load_bitmap_or_die(const char* file, RGB* palette);
BITMAP* create_bitmap_or_die(int width, int height);
BITMAP* create_sub_bitmap_or_die(BITMAP* parent, int x, int y, int width, int height);
void destroy_bitmap_if(BITMAP* bitmap);

// At 32-bit depth a memory bitmap's pixels are read and written straight through its lines.
inline bool is_direct(BITMAP* bmp)
{
    return bitmap_color_depth(bmp) == 32;
}
inline std::uint32_t* pixel_line(BITMAP* bmp, int y)
{
    return reinterpret_cast<std::uint32_t*>(bmp->line[y]);
}

// Allegro sizes a bitmap's pixels in int arithmetic: a size whose byte count does not fit an
// int wraps into a small or negative allocation. True for 1 to that limit in both directions.
bool bitmap_size_fits(int width, int height, int iBytes_per_pixel);

// Allegro's text routines loop forever on some malformed UTF-8, so file text is checked before
// Allegro sees it. The byte offset of the first sequence that is not well-formed UTF-8
// (overlong forms, surrogates and code points past U+10FFFF included), or npos.
size_t utf8_error_offset(const std::string& sText);
// The 1-based line of a byte offset.
int line_of_offset(const std::string& sText, size_t iOffset);
// At most iMax bytes of well-formed UTF-8 text, cut at a character boundary, "..." added when
// cut: keeps a message box of file text readable.
std::string cut_text(const std::string& sText, size_t iMax);

// Reads a file through stdio, where a read error is a return value and never an exception:
// 0 with its first iMax bytes (all of it when iMax is 0) in sText, or the error number
// (ENOENT for a missing file).
int read_file(const char* sPath, std::string& sText, size_t iMax = 0);

// Straight distances; callers add the world's horizontal wrap themselves.
float distance(float x1, float y1, float x2, float y2);
float vector_length(float dx, float dy);

// Runs one statement that returns no rows. A failure is shown and the caller goes on.
void exec_sql(sqlite3* db, const char* sql);
// The same without a message, for a caller that reports the failure its own way: true when
// it ran, otherwise false with the error text in sError.
bool try_sql(sqlite3* db, const char* sql, std::string& sError);

// The same for statements made over and over, every tick, node or day: a failure is shown
// only the first time its error text comes up, so a database that keeps failing shows each
// of its errors once instead of a box for every row.
void exec_repeated_sql(sqlite3* db, const char* sql);
// A message of something that goes wrong over and over (every node, every day): shown only
// the first time, until the shown messages are forgotten.
void show_message_once(const std::string& sText);
// Forgets the messages exec_repeated_sql and show_message_once have shown, so that each
// shows once more.
void forget_shown_messages();

// Text as an SQL string literal: in single quotes, each quote doubled, so no text can end
// the literal early. Every statement built from names or labels quotes them with this.
std::string sql_quote(const std::string& sText);

// The error text of a failed statement: SQLite's own, or the connection's message when
// SQLite gave none.
std::string sql_error_text(sqlite3* db, const char* zErrMsg);

// Shows SQLite's error text, falling back to the connection's message when SQLite gave
// none, and frees it.
void report_sql_error(sqlite3* db, char* zErrMsg);
// The box of a failed statement, "ERROR: SQL error: <error>"; every SQL error the game goes
// on from without naming a file shows through this.
void show_sql_error(const std::string& sError);

// A database the program cannot run without would not open: shows
// "ERROR: <where>: Can't open database: <file>: <SQLite's message>" (without the
// "ERROR: <where>: " part when where is null), closes it and ends as a failure.
[[noreturn]] void exit_on_open_failure(sqlite3* db, const char* where, const char* path);
// The same for one that opened but cannot be used as it must be:
// "ERROR: <where>: <what>: <file>: <error>", as in "Can't read database".
[[noreturn]] void exit_on_database_failure(sqlite3* db, const char* where, const char* sWhat,
                                           const char* path, const std::string& sError);
// That message's text, for a failure the game goes on from.
std::string database_failure_text(const char* where, const char* sWhat, const char* path,
                                  const std::string& sError);
// Runs one start-up statement on a database the game cannot go on without (db, opened from
// sPath). A failure ends the process with the file named, as a file that will not open does:
// left to play, every node and every day would show a box of its own. fRow gets the rows;
// when it aborts the query, sAbort_error is the reason given.
void exec_or_exit(sqlite3*& db, const char* where, const char* sPath, const char* sWhat,
                  const char* sSql, int (*fRow)(void*, int, char**, char**) = nullptr,
                  const char* sAbort_error = nullptr);

// A column of an sqlite3_exec row as text; SQL NULL and columns past the row read as "",
// so atoi gives 0.
const char* column_text(int argc, char** argv, int i);

// A start-up progress line straight onto the screen, over what is there; skipped when there
// is no screen (headless runs and tests).
void show_progress(int x, int y, int colour, const char* sText);

// Deletes every entry of a list of owned pointers and empties it.
template <typename T>
void delete_all(std::list<T*>& l_List)
{
    for (T* pEntry : l_List)
        delete pEntry;
    l_List.clear();
}
