#pragma once

#include <allegro.h>
#include <sqlite3.h>

#include <list>
#include <optional>
#include <string>

#include "framework/entity.h"

// A movable table on the screen whose rows come from an SQL query, so that rows written to
// the database show at the next draw. The query runs on every draw unless nothing it could
// read has changed since the last run (see run_query). Its position is the top-left corner
// of the body (the rows); the title bar and the column header lie above it, a square
// slider at its right edge scrolls the rows. The left mouse button drags the window by
// its title, header or body, and drags the slider. Each window has its own connection,
// to the scratch database (SCROLL_WINDOW_DB_PATH) until the owner opens another file.
//
// The owner calls: a constructor, set_title, add_column per column, optionally
// open_database, exec and set_query, then set_table and toggle_visible; then update once
// per logic tick and draw once per frame; it deletes the window to close it.
class SCROLL_WINDOW final : public ENTITY
{
public:
    // Centred on the screen.
    SCROLL_WINDOW(int width, int height);
    SCROLL_WINDOW(float x, float y, int width, int height);
    SCROLL_WINDOW();
    ~SCROLL_WINDOW();

    SCROLL_WINDOW(const SCROLL_WINDOW&) = delete;
    SCROLL_WINDOW& operator=(const SCROLL_WINDOW&) = delete;

    void update() override;
    void draw(BITMAP* target) override;

    // The title is kept as the caller's pointer, not copied: it must outlive the window.
    void add_column(const char* sTitle, int iX_offset);
    // A copy replaces the default query; null goes back to the default one.
    void set_query(const char* sNew_query);
    // The default query selects every row of the table, ordered by the column unless it
    // is null or empty.
    void set_table(const char* sNew_table, const char* sOrder_column);
    // Ends the process with a message when the file will not open.
    void open_database(const char* sPath);
    // One statement without rows on the window's connection; a failure is shown.
    void exec(const char* sSql);
    // The same without a message, for an owner that reports a failure its own way: true when
    // it ran, otherwise false with SQLite's error text in sError.
    bool try_exec(const char* sSql, std::string& sError);
    void toggle_visible();
    const char* get_table();
    void set_title(const char* sNew_title);

    // The text draw runs: the custom query, or the default one.
    std::string query_text() const;

    // sqlite3_exec row callback: appends the row to l_Rows.
    static int row_callback(void* pUnused, int argc, char** argv, char** azColName);
    // Draws the rows of the window's last query.
    void draw_rows(BITMAP* target);
    const std::list<std::list<std::string>>& get_rows() const { return l_Shown_rows; }

    int get_id() const { return iId; }
    int get_width() const { return iWidth; }
    int get_height() const { return iHeight; }
    bool is_visible() const { return bVisible; }
    bool is_dragging() const { return bDragging; }
    bool is_slider_dragging() const { return bSlider_dragging; }
    const ENTITY& get_slider() const { return slider; }

    // The id of the window that holds the mouse, -1 when none.
    static int iGrab_id;
    // Ids are handed out from 0 and never reused.
    static int iNext_id;
    // The rows of the last query any window ran, as they are collected.
    static std::list<std::list<std::string>> l_Rows;
    static std::list<std::string> l_Row;

private:
    void init();
    void place(float x, float y, int width, int height);
    void run_query();
    bool read_data_version(long long* pVersion);
    static int note_function(void* pWindow, int iAction, const char*, const char*, const char*, const char*);

    std::list<const char*> l_Columns;
    std::list<int> l_Column_x;
    std::list<int>::iterator it_column;
    std::string sTable;
    std::optional<std::string> sQuery;
    std::string cOrder_by;
    int iWidth;
    int iHeight;
    bool bVisible;
    int iScroll;
    sqlite3* db;
    float fGrab_x;
    float fGrab_y;
    bool bDragging;
    ENTITY slider;
    bool bSlider_dragging;
    std::string sTitle;
    int iId;
    // The query failed on the last draw and was reported; it is not reported again until
    // it has succeeded once, since every message box stops the game.
    bool bQuery_failed;

    // What the last query run gave, and what it takes for that to still be its answer: the
    // same text, no statement through exec since, the same data version of the main
    // database (which counts other connections' commits), and a run that read only stored
    // data (no function call, no change of its own, nothing attached).
    std::list<std::list<std::string>> l_Shown_rows;
    std::string strShown_query;
    long long iShown_version;
    bool bRows_current;
    bool bCalls_function;
};
