// Methods of MAP: the generation, its stages from a planet to the travel map: placing and
// linking the nodes, joining the groups, sorting and locking the edges, the start and the end,
// ranks, names, landmasses, regions and populations, and opening the edges it blocked.

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/config.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/run_files.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/traveller.h"
#include "world/planet/planet.h"
#include "world/save_database.h"
#include "world/world.h"

namespace
{
void progress(int y, const char* sText)
{
    show_progress(10, y, WHITE, sText);
}

// Links a node makes for its draw r (0..99): the bands end below these values.
int links_for_draw(int r)
{
    const int BANDS[][2] = {{60, 1}, {65, 2}, {70, 3}, {73, 4}, {76, 5}, {78, 6}, {100, 2}};
    for (const auto& band : BANDS)
        if (r < band[0])
            return band[1];
    return 2;
}

const int MOST_LINKS = 6;

// A link candidate with its place in the list of candidates (smaller is nearer the front).
struct LISTED_RECORD
{
    NODE_DISTANCE ndRecord;
    int iPlace;
};

// Nearer first; of equal distances the one nearer the front of the list.
bool listed_before(const LISTED_RECORD& x, const LISTED_RECORD& y)
{
    if (less_by_distance(&x.ndRecord, &y.ndRecord))
        return true;
    if (less_by_distance(&y.ndRecord, &x.ndRecord))
        return false;
    return x.iPlace < y.iPlace;
}

// Opens a transaction on the save database unless one is open already; the rows of the
// nodes built meanwhile then go to disk together.
class NODE_ROWS_TRANSACTION
{
public:
    NODE_ROWS_TRANSACTION() : bOpened(save_db != nullptr && sqlite3_get_autocommit(save_db) != 0)
    {
        if (bOpened)
            exec_repeated_sql(save_db, "BEGIN");
    }
    ~NODE_ROWS_TRANSACTION()
    {
        if (bOpened)
            exec_repeated_sql(save_db, "COMMIT");
    }
    NODE_ROWS_TRANSACTION(const NODE_ROWS_TRANSACTION&) = delete;
    NODE_ROWS_TRANSACTION& operator=(const NODE_ROWS_TRANSACTION&) = delete;

private:
    bool bOpened;
};

// One draw per edge of the list, in order: under 20 the edge becomes a normal one and leaves
// the list, otherwise it takes the type and stays blocked until the last stage.
void lock_by_draws(std::list<EDGE*>& l_List, int iType)
{
    for (auto it = l_List.begin(); it != l_List.end();)
    {
        EDGE* e = *it;
        int r = random_next() % 100;
        if (r < 20)
        {
            e->set_type(EDGE_NORMAL);
            it = l_List.erase(it);
        }
        else
        {
            e->set_type(iType);
            e->block();
            ++it;
        }
    }
}
}

bool less_by_distance(const NODE_DISTANCE* a, const NODE_DISTANCE* b)
{
    return a->fDistance < b->fDistance;
}

void MAP::generate(PLANET* planet, int node_count)
{
    // The waypoints of new edges take their cells from the world's planet.
    WORLD* pWorld = WORLD::instance();
    PLANET* pWorld_planet = pWorld->get_planet();
    pWorld->set_planet(planet);

    {
        NODE_ROWS_TRANSACTION tRows;
        progress(60, "Generating Map");
        float fSpacing = 1.0f;
        for (int i = 0; i < node_count; ++i)
            place_node(planet, fSpacing);
        link_nodes();
        progress(70, "Analyzing Map");
        analyze_map();
    }
    progress(70, "Analyzing Map");
    check_short_detours();
    progress(80, "Determining Game Progression");
    set_progression();
    progress(110, "Naming Nodes");
    name_nodes();
    progress(120, "Naming Landmasses");
    name_landmasses();
    progress(130, "Defining Regions");
    define_regions();
    progress(140, "Determing Populations");
    spread_populations();
    progress(150, "Ensuring all edges are allowed.");
    open_edges();
    progress(160, "Finished!");

    pWorld->set_planet(pWorld_planet);
}

int MAP::place_node(PLANET* planet, float& fSpacing)
{
    int iAttempts = 0;
    for (;;)
    {
        int x = random_next() % WORLD_WIDTH;
        int y = random_next() % WORLD_HEIGHT;
        int r = random_next() % 100;
        CELL* cell = planet->get_cell(x, y);
        // Mostly land: a sea spot passes 5 times in 100, a land spot fails 5 times in 100.
        bool bPasses = cell->iHeight < SEA_LEVEL ? r < 5 : r >= 5;
        if (!bPasses)
            continue;

        if (iAttempts % 1000 == 0)
            fSpacing = fSpacing + 0.1f;
        float fMin = 100.0f / fSpacing;
        if (fMin < 4.0f)
            fMin = 4.0f;
        bool bToo_close = false;
        for (NODE* n : every_node())
        {
            if (distance(n->fX, n->fY, (float)x, (float)y) <= fMin)
            {
                bToo_close = true;
                break;
            }
        }
        iAttempts = iAttempts + 1;
        if (bToo_close)
            continue;
        create_node((float)x, (float)y, cell);
        return iAttempts;
    }
}

void MAP::link_nodes()
{
    for (NODE* a : l_Nodes)
        link_node(a);
}

void MAP::distance_records(NODE* a, std::vector<NODE_DISTANCE>& v_Records, size_t iNearest)
{
    // Each record goes in at the front of the list, so the list holds them last first: that
    // order decides among equal distances, as a stable sort of the list would.
    const std::vector<NODE*>& v_Nodes = every_node();
    std::vector<LISTED_RECORD> v_Listed(2 * v_Nodes.size());
    size_t i = 0;
    for (NODE* b : v_Nodes)
    {
        if (b == a)
            continue;
        v_Listed[i] = {{distance(b->fX, b->fY, a->fX, a->fY), b}, -(int)i};
        ++i;
        v_Listed[i] = {{seam_distance(a->fX, a->fY, b->fX, b->fY), b}, -(int)i};
        ++i;
    }
    v_Listed.resize(i);
    // The order is total, so the nearest few come out the same as from sorting them all.
    if (iNearest < v_Listed.size())
    {
        std::nth_element(v_Listed.begin(), v_Listed.begin() + iNearest, v_Listed.end(), listed_before);
        v_Listed.resize(iNearest);
    }
    std::sort(v_Listed.begin(), v_Listed.end(), listed_before);
    v_Records.resize(v_Listed.size());
    for (size_t j = 0; j < v_Listed.size(); ++j)
        v_Records[j] = v_Listed[j].ndRecord;
}

void MAP::link_node(NODE* a)
{
    // Every record passed over below is of a node linked to a, before or by this pass, and
    // each node has two records: the links are always found among these.
    const size_t iNeeded = 2 * (size_t)(a->edge_count() + MOST_LINKS);
    std::vector<NODE_DISTANCE> v_Records;
    distance_records(a, v_Records, iNeeded);
    int r = random_next() % 100;
    int k = links_for_draw(r);
    // A record passed over stays of a linked node: each link looks on from where the one
    // before stopped.
    size_t iNext = 0;
    for (int i = 0; i < k; ++i)
    {
        while (iNext < v_Records.size() && v_Records[iNext].nNode->is_adjacent(a))
            ++iNext;
        if (iNext == v_Records.size())
            break;
        connect_normal(a, v_Records[iNext].nNode);
    }
}

void MAP::analyze_map()
{
    for (NODE* n : l_Nodes)
    {
        if (n->iGroup != -1)
            continue;
        int iStamp = (int)v_Groups.size();
        v_Groups.emplace_back();
        n->collect_component(v_Groups.back(), iStamp);
    }

    size_t iMain = 0;
    for (size_t i = 1; i < v_Groups.size(); ++i)
        if (v_Groups[i].size() > v_Groups[iMain].size())
            iMain = i;
    for (size_t i = 0; i < v_Groups.size(); ++i)
        if (i != iMain)
            join_group(v_Groups[iMain], v_Groups[i]);

    for (NODE* n : l_Nodes)
    {
        classify_edges(n);
        add_landmass(n->get_landmass());
    }

    // One draw per edge of each class, in list order, whether the edge stays or goes.
    lock_by_draws(l_Bridges, EDGE_LOCKED);
    for (EDGE* e : l_Short_detours)
    {
        int r = random_next() % 100;
        (void)r; // drawn, but a short detour stays one whatever it says
        e->set_type(EDGE_SHORT_DETOUR);
    }
    lock_by_draws(l_Long_detours, EDGE_LONG_DETOUR);
}

void MAP::check_short_detours()
{
    for (NODE* n : l_Nodes)
    {
        if (n->bReached)
            continue;
        int a = -1;
        int b = 0;
        while (!l_Short_detours.empty() && a != b)
        {
            a = count_reachable(n);
            for (EDGE* e : l_Short_detours)
                e->block();
            b = count_reachable(n);
            for (EDGE* e : l_Short_detours)
                e->unblock();
            // Blocking them cut nodes off: the first becomes a normal edge.
            if (a != b)
            {
                l_Short_detours.front()->set_type(EDGE_NORMAL);
                l_Short_detours.pop_front();
            }
        }
    }
}

NODE* MAP::choose_start_node()
{
    if (l_Nodes.empty())
    {
        // Nothing to stand on: the game cannot be played.
        fatal_exit(FAILURE_EXIT_CODE, true,
                   {std::string("ERROR:  The map has no nodes.  Set node_count in the [map_generation] "
                                "section of ") +
                    CONFIG_PATH + " to a number from 1 to " + std::to_string(MAX_NODE_COUNT) + ".\n"});
    }
    NODE* nFirst = l_Nodes.front();
    bool bLand_after_first = false;
    for (auto it = std::next(l_Nodes.begin()); it != l_Nodes.end() && !bLand_after_first; ++it)
        bLand_after_first = (*it)->get_height() >= SEA_LEVEL;

    if (bLand_after_first)
    {
        const std::vector<NODE*>& v_Nodes = every_node();
        NODE* nChoice = nFirst;
        while (nChoice == nFirst || nChoice->get_height() < SEA_LEVEL)
        {
            int idx = random_next() % (int)v_Nodes.size();
            nChoice = v_Nodes[idx];
        }
        return nChoice;
    }

    // The draws could never end: choose without them.
    allegro_message("ERROR:  No land node to start on but the first one of the map.  The start "
                    "node is chosen without a draw.\n");
    if (nFirst->get_height() >= SEA_LEVEL)
        return nFirst;
    if (l_Nodes.size() > 1)
        return *std::next(l_Nodes.begin());
    return nFirst;
}

void MAP::set_progression()
{
    NODE* nStart = choose_start_node();
    progress(90, "  Setting stages.");
    nPlayer_node = nStart->make_start();
    tTraveller->ENTITY::set_position(nPlayer_node->fX, nPlayer_node->fY);
    tTraveller->set_node(nPlayer_node);
    WORLD::instance()->set_player(tTraveller);
    CAMERA* c = CAMERA::current();
    c->zoom_to(3.0f, -0.08f);
    c->ENTITY::set_position(nPlayer_node->fX, nPlayer_node->fY);

    rank_nodes(nPlayer_node);
    progress(100, "  Determining the end of the game node.");
    int iTop = last_stage_rank();
    char sLine[64];
    snprintf(sLine, sizeof sLine, "  Last stage rank is %d.", iTop);
    show_progress(400, 100, WHITE, sLine);
    choose_end_node(iTop);
}

int MAP::rank_nodes(NODE* start)
{
    // Nodes behind detours and locks wait here; each part behind such a gate starts deeper
    // than everything ranked before it.
    std::list<NODE*> l_Stages;
    int iMax = start->assign_rank(l_Stages, 1);
    const int iGate = GAME::node_count() / 10 / 2;
    while (!l_Stages.empty())
    {
        int v = l_Stages.front()->assign_rank(l_Stages, iGate + iMax);
        if (v > iMax)
            iMax = v;
        l_Stages.pop_front();
    }
    return iMax;
}

int MAP::last_stage_rank()
{
    int iTop = 0;
    for (NODE* n : l_Nodes)
        iTop = std::max(iTop, n->get_rank());
    return std::min(iTop, 10);
}

void MAP::choose_end_node(int iTop)
{
    std::vector<NODE*> v_Candidates;
    for (NODE* n : l_Nodes)
        if (iTop - 2 <= n->get_rank() && n->get_rank() <= iTop + 2)
            v_Candidates.push_back(n);
    if (v_Candidates.empty())
    {
        allegro_message("We couldn't find the end of the game, oh no!");
        return;
    }
    int idx = random_next() % (int)v_Candidates.size();
    v_Candidates[idx]->make_end_node();
}

void MAP::name_nodes()
{
    for (NODE* n : l_Nodes)
    {
        n->make_name();
        if (n->is_settlement())
            l_Settlements.push_back(n);
    }
}

void MAP::name_landmasses()
{
    const int iContinent = GAME::node_count() / 10;
    for (LANDMASS* lm : l_Landmasses)
    {
        // Rebuilt in the string that the word record holds, so the record follows.
        std::string sWord = *lm->strName;
        lm->strName->clear();
        if (lm->iCount > iContinent)
        {
            lm->strName->append("Continent of " + sWord);
            continue;
        }
        int r = random_next() % 100;
        if (r > 50)
            lm->strName->append("Island of " + sWord);
        else
            lm->strName->append(sWord + " Island");
    }
}

void MAP::define_regions()
{
    for (NODE* n : l_Nodes)
        n->assign_region(nullptr);
}

void MAP::spread_populations()
{
    for (NODE* n : l_Settlements)
        n->spread_population();
}

void MAP::open_edges()
{
    for (std::list<EDGE*>* pList : {&l_Short_detours, &l_Long_detours, &l_Bridges})
        for (EDGE* e : *pList)
            if (!e->is_open())
                e->unblock();
}
