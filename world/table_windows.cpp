// Methods of WORLD: the three table windows that the S, W and Q keys toggle, and the table
// each shows.

#include "world/world.h"

#include <string>
#include <vector>

#include "framework/helpers.h"
#include "framework/run_files.h"
#include "framework/scroll_window.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/traveller.h"

// The three table windows the S, W and Q keys toggle. Column titles are kept by pointer.
const WORLD::TABLE_WINDOW WORLD::POPULATION_CHART = {
    400, 300, "Population Chart", {{{"Town", 0}, {"Population", 200}, {nullptr, 0}}},
    "settlement_window", "Population", &WORLD::fill_population_chart, "DROP TABLE settlement_window"};
const WORLD::TABLE_WINDOW WORLD::RECENT_WEATHER = {
    200, 100, "Recent Weather", {{{"Date", 0}, {"Low", 100}, {"High", 150}}},
    "node_weather", nullptr, &WORLD::query_recent_weather, nullptr};
const WORLD::TABLE_WINDOW WORLD::QUESTS = {
    450, 300, "Quests", {{{"Destination", 0}, {"Unlocks", 225}, {nullptr, 0}}},
    "quests", nullptr, &WORLD::query_quests, nullptr};

void WORLD::handle_window_key(int iKey, bool& bLatch, const TABLE_WINDOW& twWindow, bool& bOpen)
{
    if (!key[iKey])
    {
        bLatch = false;
        return;
    }
    if (bLatch)
        return;
    toggle_window(twWindow, bOpen);
    bLatch = true;
}

void WORLD::toggle_window(const TABLE_WINDOW& twWindow, bool& bOpen)
{
    if (bOpen)
    {
        bOpen = false;
        if (twWindow.sClose_sql != nullptr)
            exec_on_windows(twWindow.sTable, twWindow.sClose_sql);
        close_windows(twWindow.sTable);
        return;
    }
    SCROLL_WINDOW* swWindow = new SCROLL_WINDOW(twWindow.iWidth, twWindow.iHeight);
    swWindow->set_title(twWindow.sTitle);
    for (const TABLE_WINDOW::COLUMN& c : twWindow.a_Columns)
        if (c.sTitle != nullptr)
            swWindow->add_column(c.sTitle, c.iX_offset);
    if (!(this->*twWindow.pPrepare)(swWindow))
    {
        // Reported already; the next press tries again.
        delete swWindow;
        return;
    }
    swWindow->set_table(twWindow.sTable, twWindow.sOrder_by);
    swWindow->toggle_visible();
    l_Windows.push_back(swWindow);
    bOpen = true;
}

bool WORLD::fill_population_chart(SCROLL_WINDOW* swChart)
{
    // A run that ended with the chart open left its table behind, with the old towns in it.
    std::vector<std::string> v_Sql = {"DROP TABLE IF EXISTS settlement_window",
                                      "CREATE TABLE settlement_window(Town char(100), Population long)"};
    if (!l_Maps.empty())
    {
        // One transaction, so that a big map's towns go in without a disk sync each.
        v_Sql.push_back("BEGIN");
        for (NODE* n : l_Maps.front()->get_nodes())
            if (n->is_settlement())
                v_Sql.push_back("INSERT into settlement_window values(" + sql_quote(*n->get_location()) +
                                ", " + sql_quote(std::to_string(n->get_population())) + ")");
        v_Sql.push_back("COMMIT");
    }
    // A file that is no database, or a full disk, fails every statement that follows alike:
    // one box, not one a town. Deleting the window rolls back what an open transaction holds.
    std::string sError;
    for (const std::string& strSql : v_Sql)
    {
        if (swChart->try_exec(strSql.c_str(), sError))
            continue;
        const std::string sMessage = database_failure_text(POPULATION_CHART.sTitle, "Can't write database",
                                                           SCROLL_WINDOW_DB_PATH, sError);
        allegro_message("%s", sMessage.c_str());
        return false;
    }
    return true;
}

bool WORLD::query_recent_weather(SCROLL_WINDOW* swWeather)
{
    swWeather->open_database(SAVE_DB_PATH);
    // The node is the one the token stood at when the window opened.
    int iNode_id = pTraveller != nullptr ? pTraveller->current_node_id() : -1;
    std::string strQuery = "SELECT Date, LowTemp, HighTemp FROM node_weather WHERE Node_ID = " +
                           sql_quote(std::to_string(iNode_id)) + " ORDER BY Day DESC";
    swWeather->set_query(strQuery.c_str());
    return true;
}

bool WORLD::query_quests(SCROLL_WINDOW* swQuests)
{
    swQuests->open_database(SAVE_DB_PATH);
    swQuests->set_query("SELECT vcQuest, vcLocked FROM quests ORDER BY Quest_ID");
    return true;
}

void WORLD::close_windows(const char* sName)
{
    for (auto it = l_Windows.begin(); it != l_Windows.end();)
    {
        if (std::string((*it)->get_table()) == sName)
        {
            delete *it;
            it = l_Windows.erase(it);
        }
        else
            ++it;
    }
}

void WORLD::exec_on_windows(const char* sName, const char* sSql)
{
    for (SCROLL_WINDOW* swWindow : l_Windows)
        if (std::string(swWindow->get_table()) == sName)
            swWindow->exec(sSql);
}
