#pragma once

#include <allegro.h>

#include <list>
#include <memory>
#include <string>

#include "framework/entity.h"
#include "world/map/edge.h"
#include "world/weather/weather.h"

class SPRITE;
struct CELL;

// Ids of every node built, map nodes and edge waypoints alike: 0 at start-up, never reset.
extern int node_counter;

// A place of the travel map, or the hidden weather station at the midpoint of an edge. It
// owns its sprites, strings, its copy of the terrain cell under it and its weather; the
// edges in its list belong to the map. The searches keep their marks in the public fields.
class NODE final : public ENTITY
{
public:
    NODE();
    ~NODE();
    NODE(const NODE&) = delete;
    NODE& operator=(const NODE&) = delete;

    // Takes the next id and writes its row into table nodes.
    void init();
    // Copies the cell (none: keeps the fresh one), rolls the difficulty, builds the weather.
    void attach_cell(CELL* cell);

    // The entity's per-tick step: update_node with its result dropped.
    void update() override;
    // In node_drawing.cpp, with the drawing steps further down.
    void draw(BITMAP* bmp) override;

    // Hover, click, quest check and weather; this node when a click moved the player's
    // marker here in this call, else null.
    NODE* update_node();
    void update_weather();
    void check_quest();
    // Reveals the far end of every edge, first asking for a quest behind a locked one.
    void reveal_neighbours();

    // Far ends in edge-list order (newest edge first), leaving out null ends.
    std::list<NODE*> neighbours();           // edges not blocked
    std::list<NODE*> passable_neighbours();  // ... and not locked
    std::list<NODE*> free_neighbours();      // ... and neither locked nor a detour

    // The edges each query takes.
    static bool open_edge(const EDGE* e) { return e->is_open(); }
    static bool passable_edge(const EDGE* e) { return e->is_open() && e->get_type() != EDGE_LOCKED; }
    static bool free_edge(const EDGE* e);

    // Calls f for the far end of each edge that take accepts, in edge-list order, leaving out
    // null ends, without building a list: the searches run this thousands of times. The
    // edges must not change while it runs.
    template <typename TAKE, typename F>
    void for_each_far_end(TAKE take, F f);
    // The same walk as neighbours().
    template <typename F>
    void for_each_neighbour(F f) { for_each_far_end(open_edge, f); }

    void add_edge(EDGE* e);
    int edge_count() const { return (int)l_Edges.size(); }
    bool is_adjacent(NODE* n);
    bool has_settlement_neighbour();
    // Depth first, pre-order, over unblocked edges; stops at nodes already stamped.
    void collect_component(std::list<NODE*>& out, int stamp);

    // Progression, in node_progression.cpp.
    // Marks the start (visited, revealed, holding the marker) and returns this node.
    NODE* make_start();
    void make_end_node();
    // Depths per rank for a map of that many nodes, at least 1.
    static int rank_stride(int iNode_count);
    // Ranks this node and, depth first over normal and group-join edges, the unranked nodes
    // beyond it; far ends of other edges go to the back of the frontier. Returns the deepest
    // depth reached, 0 when this node was ranked already.
    int assign_rank(std::list<NODE*>& l_Frontier, int iDepth);
    // Two draws: a population between lo and hi (lo when hi <= lo), cut down by the rank.
    void set_settlement(bool bFlag, int iLo, int iHi);
    // Hands this node's population to each neighbour.
    void spread_population();
    // Takes a random share of p (one draw when p > 2) and passes a smaller share on.
    void receive_population(int p);
    // Gives this land node and the connected land nodes of its height band, temperature
    // band and landmass a region name; a null name draws an unused [regions] word.
    void assign_region(std::string* sName);
    // 0 below sea level, else 1 to 4; 1 to 3 for the temperature.
    static int height_band(int iHeight);
    static int temperature_band(float fTemperature);

    // Replaces the name with a fresh one from the word database.
    void make_name();
    const char* get_name() const;
    void set_kind(const std::string& word, int image);
    void append_location(const std::string& s);
    std::string* get_location() { return sLocation; }

    int get_id() const { return iId; }
    int get_difficulty() const { return iDifficulty; }
    // The rank of a node that the ranking has not reached.
    static constexpr int UNRANKED = 99999;
    int get_rank() const { return iRank; }
    void set_rank(int rank) { iRank = rank; }
    int get_population() const { return iPopulation; }
    bool is_settlement() const { return bSettlement; }
    bool is_revealed() const { return bRevealed; }
    bool is_visited() const { return bVisited; }
    bool has_player() const { return bPlayer; }
    bool is_start() const { return bStart; }
    bool is_end() const { return bEnd; }
    bool is_dungeon() const { return bDungeon; }
    void set_dungeon(bool b) { bDungeon = b; }
    WEATHER* get_weather() { return pWeather.get(); }
    CELL* get_cell() { return pCell; }
    int get_height() const;
    int get_temperature() const;
    int get_landmass() const;

    // Drawing, in node_drawing.cpp.
    void draw_marker(BITMAP* bmp, float sx, float sy, float r);
    void draw_sight(BITMAP* fog_dark, BITMAP* fog_dim);
    // Radii of the holes that the node's sight cuts into the dim and the dark fog.
    void sight_radii(int* r_dim, int* r_dark) const;
    int sight_radius_dark() const;
    void draw_info(BITMAP* bmp, float x, float y, std::string* landmass);
    // The badge column of a start (1) or end (2) node, left alone while hovered.
    void choose_badge();

    int iGroup;    // -1: in no group yet
    int iDistance; // -1: not found by the current search
    int iMark;     // WHITE, GRAY or BLACK
    bool bReached;
    bool bStart;
    bool bRevealed;
    bool bSettlement;
    bool bHovered;
    bool bPlayer;
    bool bDungeon;
    bool bVisited;
    bool bEnd;
    // Its sight holes are in its map's fog: they never fill again, so the map cuts them once.
    bool bSight_cut;
    int iId;
    int iDifficulty;
    int iRank; // UNRANKED: not ranked yet
    int iPopulation;
    SPRITE* sprIcon;
    SPRITE* sprBadge;
    std::string* sName;
    std::string* sRegion; // null until assigned
    std::string* sKind;
    std::string* sLocation;
    std::list<EDGE*> l_Edges;
    CELL* pCell;
    std::unique_ptr<WEATHER> pWeather; // none until attach_cell
};

template <typename TAKE, typename F>
void NODE::for_each_far_end(TAKE take, F f)
{
    for (EDGE* e : l_Edges)
        if (take(e))
            if (NODE* n = e->other_end(this))
                f(n);
}
