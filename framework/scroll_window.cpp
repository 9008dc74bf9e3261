#include "framework/scroll_window.h"

#include <cstdlib>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/run_files.h"
#include "framework/screen_layout.h"

int SCROLL_WINDOW::iGrab_id = -1;
int SCROLL_WINDOW::iNext_id = 0;
std::list<std::list<std::string>> SCROLL_WINDOW::l_Rows;
std::list<std::string> SCROLL_WINDOW::l_Row;

namespace
{
const int TITLE_HEIGHT = 25;
const int HEADER_HEIGHT = 15;
const int SLIDER_SIZE = 15;
const int ROW_HEIGHT = 10;
const float DRAG_SPEED = 30.0f;

// Coordinates are worked out in floats and truncated only when handed to Allegro.
int px(float f)
{
    return (int)f;
}

void print_text(BITMAP* target, float x, float y, int colour, const char* sText)
{
    textprintf_ex(target, font, px(x), px(y), colour, -1, "%s", sText != nullptr ? sText : "");
}
}

SCROLL_WINDOW::SCROLL_WINDOW(int width, int height)
{
    init();
    place((float)(SCREEN_CENTRE_X - width / 2), (float)(SCREEN_CENTRE_Y - height / 2), width, height);
}

SCROLL_WINDOW::SCROLL_WINDOW(float x, float y, int width, int height)
{
    init();
    place(x, y, width, height);
}

SCROLL_WINDOW::SCROLL_WINDOW()
{
    init();
}

SCROLL_WINDOW::~SCROLL_WINDOW()
{
    sqlite3_close(db);
}

void SCROLL_WINDOW::init()
{
    ENTITY::reset(0, 0);
    slider.set_position(0, 0);
    iId = iNext_id++;
    iWidth = 0;
    iHeight = 0;
    bVisible = false;
    iScroll = 0;
    sTable.clear();
    cOrder_by.clear();
    db = nullptr;
    if (sqlite3_open(SCROLL_WINDOW_DB_PATH, &db) != SQLITE_OK)
        exit_on_open_failure(db, nullptr, SCROLL_WINDOW_DB_PATH);
    fGrab_x = 0;
    fGrab_y = 0;
    bDragging = false;
    sQuery.reset();
    bSlider_dragging = false;
    sTitle.clear();
    bQuery_failed = false;
    iShown_version = 0;
    bRows_current = false;
    bCalls_function = false;
    iGrab_id = -1;
}

// Set directly, not moved to: the destination stays at (0, 0) with no velocity.
void SCROLL_WINDOW::place(float x, float y, int width, int height)
{
    iWidth = width;
    iHeight = height;
    fX = x;
    fY = y;
    slider.set_position(fX + iWidth, fY);
}

void SCROLL_WINDOW::add_column(const char* sColumn_title, int iX_offset)
{
    l_Columns.push_back(sColumn_title);
    l_Column_x.push_back(iX_offset);
}

void SCROLL_WINDOW::set_query(const char* sNew_query)
{
    if (sNew_query != nullptr)
        sQuery = sNew_query;
    else
        sQuery.reset();
}

void SCROLL_WINDOW::set_table(const char* sNew_table, const char* sOrder_column)
{
    sTable = sNew_table != nullptr ? sNew_table : "";
    cOrder_by = sOrder_column != nullptr ? sOrder_column : "";
}

void SCROLL_WINDOW::open_database(const char* sPath)
{
    sqlite3_close(db);
    db = nullptr;
    bQuery_failed = false;
    bRows_current = false;
    if (sqlite3_open(sPath, &db) != SQLITE_OK)
        exit_on_open_failure(db, nullptr, sPath);
}

void SCROLL_WINDOW::exec(const char* sSql)
{
    std::string sError;
    if (!try_exec(sSql, sError))
        show_sql_error(sError);
}

bool SCROLL_WINDOW::try_exec(const char* sSql, std::string& sError)
{
    // Changes made here do not show in the data version.
    bRows_current = false;
    return try_sql(db, sSql, sError);
}

void SCROLL_WINDOW::toggle_visible()
{
    bVisible = !bVisible;
}

const char* SCROLL_WINDOW::get_table()
{
    return sTable.c_str();
}

void SCROLL_WINDOW::set_title(const char* sNew_title)
{
    sTitle = sNew_title != nullptr ? sNew_title : "";
}

std::string SCROLL_WINDOW::query_text() const
{
    if (sQuery)
        return *sQuery;
    std::string strQuery = "select * from " + sTable;
    if (!cOrder_by.empty())
        strQuery += " ORDER BY " + cOrder_by;
    return strQuery;
}

void SCROLL_WINDOW::update()
{
    ENTITY::update();
    slider.update();

    const float fMouse_x = (float)mouse_x;
    const float fMouse_y = (float)mouse_y;
    const bool bHeld = (mouse_b & 1) != 0;

    if (iGrab_id == -1 || iGrab_id == iId)
    {
        // Title bar, header and body drag the window; the slider beyond the right edge does not.
        if (fX < fMouse_x && fMouse_x < fX + iWidth && fY - TITLE_HEIGHT < fMouse_y &&
            fMouse_y < fY + iHeight && !bSlider_dragging)
        {
            if (bHeld)
            {
                if (!bDragging)
                {
                    fGrab_x = fMouse_x - fX;
                    fGrab_y = fMouse_y - fY;
                }
                else
                {
                    move_to(fMouse_x - fGrab_x, fMouse_y - fGrab_y, DRAG_SPEED, DRAG_SPEED);
                    slider.move_to(fMouse_x - fGrab_x + iWidth, fMouse_y - fGrab_y, DRAG_SPEED,
                                   DRAG_SPEED);
                }
                bDragging = true;
                iGrab_id = iId;
            }
            else
            {
                iGrab_id = -1;
                bDragging = false;
            }
        }

        const float fSlider_x = slider.get_x();
        const float fSlider_y = slider.get_y();
        const bool bOn_slider = fSlider_x < fMouse_x && fMouse_x < fSlider_x + SLIDER_SIZE &&
                                fSlider_y < fMouse_y && fMouse_y < fSlider_y + SLIDER_SIZE;
        if ((bSlider_dragging || bOn_slider) && bHeld)
        {
            iGrab_id = iId;
            bSlider_dragging = true;
            slider.set_position(fX + iWidth, fMouse_y - 10);
            // With a body under 15 pixels the lower limit wins.
            if (slider.get_y() < fY)
                slider.set_position(slider.get_x(), fY);
            if (slider.get_y() > fY + iHeight - SLIDER_SIZE)
                slider.set_position(slider.get_x(), fY + iHeight - SLIDER_SIZE);
        }
    }

    // Letting go anywhere ends every drag.
    if (!bHeld)
    {
        iGrab_id = -1;
        bSlider_dragging = false;
        bDragging = false;
    }
}

int SCROLL_WINDOW::row_callback(void*, int argc, char** argv, char**)
{
    l_Row.clear();
    for (int i = 0; i < argc; i++)
        l_Row.push_back(column_text(argc, argv, i));
    l_Rows.push_back(l_Row);
    return 0;
}

bool SCROLL_WINDOW::read_data_version(long long* pVersion)
{
    *pVersion = -1;
    auto read = [](void* p, int argc, char** argv, char**)
    {
        *(long long*)p = atoll(column_text(argc, argv, 0));
        return 0;
    };
    return sqlite3_exec(db, "PRAGMA data_version", read, pVersion, nullptr) == SQLITE_OK && *pVersion >= 0;
}

// Functions may give another answer on the same data (random(), the clock...), so a
// query that calls any is run every time.
int SCROLL_WINDOW::note_function(void* pWindow, int iAction, const char*, const char*, const char*,
                                 const char*)
{
    if (iAction == SQLITE_FUNCTION)
        ((SCROLL_WINDOW*)pWindow)->bCalls_function = true;
    return SQLITE_OK;
}

// The query runs whenever its answer may have changed, so the rows shown are always those
// it would give now.
void SCROLL_WINDOW::run_query()
{
    const std::string strQuery = query_text();
    long long iVersion = 0;
    const bool bVersion = read_data_version(&iVersion);
    if (bRows_current && bVersion && iVersion == iShown_version && strQuery == strShown_query)
        return;

    const sqlite3_int64 iChanges = sqlite3_total_changes64(db);
    bCalls_function = false;
    sqlite3_set_authorizer(db, SCROLL_WINDOW::note_function, this);

    l_Rows.clear();
    char* zErrMsg = nullptr;
    const bool bOk = sqlite3_exec(db, strQuery.c_str(), SCROLL_WINDOW::row_callback, nullptr, &zErrMsg) == SQLITE_OK;
    sqlite3_set_authorizer(db, nullptr, nullptr);
    // The rows collected before a failure are still drawn.
    l_Shown_rows = l_Rows;
    if (!bOk)
    {
        if (!bQuery_failed)
            report_sql_error(db, zErrMsg);
        else
            sqlite3_free(zErrMsg);
    }
    bQuery_failed = !bOk;

    bRows_current = bOk && bVersion && !bCalls_function && sqlite3_total_changes64(db) == iChanges &&
                    sqlite3_db_name(db, 2) == nullptr;
    strShown_query = strQuery;
    iShown_version = iVersion;
}

void SCROLL_WINDOW::draw(BITMAP* target)
{
    if (!bVisible)
        return;

    const float x = fX;
    const float y = fY;
    const int w = iWidth;
    const int h = iHeight;

    set_trans_blender(0, 0, 0, 164);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, px(x), px(y), px(x + w), px(y + h), DARK_BLUE);
    rect(target, px(x), px(y), px(x + w), px(y + h), BLUE);
    solid_mode();

    it_column = l_Column_x.begin();

    run_query();

    const int iOverflow = ROW_HEIGHT * (int)l_Shown_rows.size() - h;
    // A body of no height has nothing to scroll through (and would divide by zero).
    if (iOverflow > 0 && h > 0)
    {
        const float t = (float)(((slider.get_y() - y) * (100.0 / h)) / 100.0);
        iScroll = (int)(-t * iOverflow);
    }
    else
        iScroll = 0;

    draw_rows(target);

    rectfill(target, px(x), px(y - TITLE_HEIGHT), px(x + w), px(y - HEADER_HEIGHT), DARK_KHAKI);
    const float fTitle_x = x + w / 2;
    textprintf_centre_ex(target, font, px(fTitle_x + 1), px(y - TITLE_HEIGHT + 1), BLACK, -1, "%s",
                         sTitle.c_str());
    textprintf_centre_ex(target, font, px(fTitle_x), px(y - TITLE_HEIGHT), YELLOW, -1, "%s",
                         sTitle.c_str());

    // Drawn after the rows, so it covers row text scrolled up into it.
    rectfill(target, px(x), px(y - HEADER_HEIGHT), px(x + w), px(y), OLIVE_DRAB);

    rect(target, px(x - 1), px(y - TITLE_HEIGHT - 1), px(x + w + 1), px(y + h + 1), OLIVE_DRAB);
    rect(target, px(x), px(y - HEADER_HEIGHT), px(x + w), px(y + h), DARK_KHAKI);

    it_column = l_Column_x.begin();
    for (const char* sColumn_title : l_Columns)
    {
        if (it_column == l_Column_x.end())
            break;
        const float fColumn_x = x + *it_column;
        print_text(target, fColumn_x + 5, y - 12, WHITE, sColumn_title);
        if (it_column != l_Column_x.begin())
            line(target, px(fColumn_x), px(y - HEADER_HEIGHT), px(fColumn_x), px(y), DARK_KHAKI);
        ++it_column;
    }

    const float fSlider_x = slider.get_x();
    const float fSlider_y = slider.get_y();
    rectfill(target, px(fSlider_x), px(fSlider_y), px(fSlider_x + SLIDER_SIZE),
             px(fSlider_y + SLIDER_SIZE), GRAY);
    rect(target, px(fSlider_x), px(fSlider_y), px(fSlider_x + SLIDER_SIZE),
         px(fSlider_y + SLIDER_SIZE), WHITE);
}

void SCROLL_WINDOW::draw_rows(BITMAP* target)
{
    for (const std::list<std::string>& l_Cells : l_Shown_rows)
    {
        it_column = l_Column_x.begin();
        if (iScroll < -15)
        {
            iScroll += ROW_HEIGHT;
            continue;
        }
        // A cell past the last column has no place to go and is left out.
        for (const std::string& strCell : l_Cells)
        {
            if (it_column == l_Column_x.end())
                break;
            const float fCell_x = fX + *it_column + 10;
            const float fCell_y = fY + iScroll + 10;
            print_text(target, fCell_x + 1, fCell_y + 1, BLACK, strCell.c_str());
            print_text(target, fCell_x, fCell_y, WHITE, strCell.c_str());
            ++it_column;
        }
        iScroll += ROW_HEIGHT;
        if (iScroll >= iHeight - 15)
            break;
    }
}
