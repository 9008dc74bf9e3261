#pragma once

#include <allegro.h>

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/entity.h"
#include "world/map/landmass.h"
#include "world/map/node_distance.h"

class EDGE;
class NODE;
class PLANET;
class TRAVELLER;
struct CELL;

// The order of the link candidates: strictly nearer first.
bool less_by_distance(const NODE_DISTANCE* a, const NODE_DISTANCE* b);

// The travel map: it owns every node, edge and landmass record, the player's token and the
// fog bitmaps. Nodes and edges go in at the front of their lists and nothing reorders them.
// The class lists, groups and settlements only point into the node and edge lists.
class MAP final : public ENTITY
{
public:
    MAP();
    ~MAP();
    MAP(const MAP&) = delete;
    MAP& operator=(const MAP&) = delete;

    // The three fog bitmaps, then the token.
    void init();

    // Turns the planet into the travel map: places node_count nodes on its terrain, links
    // them, joins the groups, sorts and locks the edges, chooses the start and the end, ranks,
    // names, regions and populations, and finally opens every edge it blocked. Runs once, on
    // a fresh map, with the planet's heights and landmasses final. In map_generation.cpp,
    // with its steps below.
    void generate(PLANET* planet, int node_count);

    // The generation's steps, in the order it runs them.
    // One node on the terrain, spaced from the others; returns the candidates that reached
    // the spacing test. The spacing factor grows as the map fills.
    int place_node(PLANET* planet, float& fSpacing);
    void link_nodes();
    // Links a to the nearest nodes not yet linked to it, as many as one draw says.
    void link_node(NODE* a);
    // Two records per other node, the direct way and the way across the seam, nearest first;
    // of equal distances the later record comes first. Only the nearest iNearest when asked.
    void distance_records(NODE* a, std::vector<NODE_DISTANCE>& v_Records, size_t iNearest = SIZE_MAX);
    // Groups, joins, edge classes, landmasses, then the locks on bridges and long detours.
    void analyze_map();
    // Turns short detours back to normal edges while blocking them would cut nodes off.
    void check_short_detours();
    // Start node, token and camera, ranks and the end node.
    void set_progression();
    // A land node that is not the first of l_Nodes, by draws while there is one.
    NODE* choose_start_node();
    // The deepest depth reached.
    int rank_nodes(NODE* start);
    // The highest rank on the map, at most 10.
    int last_stage_rank();
    void choose_end_node(int iTop);
    void name_nodes();
    void name_landmasses();
    void define_regions();
    void spread_populations();
    void open_edges();

    // The node updates inside one transaction on the save database, a click's move at
    // once; then the edges and the token.
    void update() override;
    // Fog, edges, nodes and token; in map_drawing.cpp with the fog's steps.
    void draw(BITMAP* bmp) override;

    // Sets the token off from the player's node along the edge to n; n becomes the player's
    // node even when no edge joins them (then the token stays).
    void move_position(NODE* n);

    // A new edge of the type in both ends' lists and the map's; false for a null end.
    bool connect(NODE* n1, NODE* n2, int type);
    bool connect_normal(NODE* n1, NODE* n2);
    bool connect_by_id(int id1, int id2);
    // A node at (x, y) on a copy of the cell (none: a fresh cell); returns its id.
    int create_node(float x, float y, CELL* cell);
    int add_node(NODE* node);
    void add_edge(EDGE* edge);

    // The first edge of the map joining a and b, either way round, blocked or not.
    EDGE* find_edge(NODE* a, NODE* b);
    std::list<NODE*> get_nodes() { return l_Nodes; }
    // Null for the sea (0) and for an id without a record.
    std::string* landmass_name(int id);

    // Nodes reachable from start over unblocked edges, start included; sets bReached.
    int count_reachable(NODE* start);
    int count_depth_first(NODE* node, int count);
    // Edges on a shortest way over unblocked edges, or -1.
    int hop_distance(NODE* from, NODE* to);
    // Sorts each open edge of the node into bridges, short or long detours by the hops of
    // the shortest way around it.
    void classify_edges(NODE* node);
    void add_unique_edge(std::list<EDGE*>& l_List, EDGE* edge);
    // Moves other's nodes to the back of main and joins the closest pair with a type 4 edge.
    void join_group(std::list<NODE*>& main, std::list<NODE*> other);
    // Counts a node on the landmass, registering it under an unused [regions] word first.
    void add_landmass(int id);

    NODE* nPlayer_node;
    std::list<NODE*> l_Nodes;
    std::list<EDGE*> l_Edges;
    std::list<EDGE*> l_Bridges;
    std::list<EDGE*> l_Short_detours;
    std::list<EDGE*> l_Long_detours;
    std::list<LANDMASS*> l_Landmasses;
    std::list<NODE*> l_Settlements;
    std::vector<std::list<NODE*>> v_Groups;
    TRAVELLER* tTraveller;
    BITMAP* bmpFog_dark;
    BITMAP* bmpFog_dim;
    BITMAP* bmpOverlay;

private:
    // The newest edge between each pair of ends, which is the first of l_Edges between them,
    // so find_edge need not walk l_Edges: the generation asks for one per neighbour of every
    // node. Rebuilt whole when l_Edges has changed other than through add_edge.
    struct END_PAIR_HASH
    {
        size_t operator()(const std::pair<NODE*, NODE*>& p) const;
    };
    std::unordered_map<std::pair<NODE*, NODE*>, EDGE*, END_PAIR_HASH> m_Newest_edge;
    size_t iIndexed_edges = 0;
    void index_edge(EDGE* edge);
    void refresh_edge_index();

    // l_Nodes as a vector, for the searches that reset every node first: walking the list
    // costs more than the resets themselves.
    const std::vector<NODE*>& every_node();
    std::vector<NODE*> v_Nodes;

    // Where one copy of the fog lands on the screen.
    struct FOG_COPY
    {
        int x, y, w, h;
    };
    // Both fogs onto bmp, the dim one blended through the overlay.
    void draw_fog(BITMAP* bmp, const FOG_COPY* a_Copies);
    // Whether some pixel of the screen block may show a hole of the dark fog.
    bool may_show_through(const FOG_COPY* a_Copies, int x1, int y1, int x2, int y2);
    // Records the tiles of the dark fog that a hole of radius r at (x, y) reaches into.
    void note_dark_hole(float x, float y, int r);
    // Tiles of the dark fog, FOG_TILE pixels square, row by row: true once any hole reaches
    // into the tile. Every other tile is still all black.
    static constexpr int FOG_TILE = 16;
    std::vector<bool> v_Dark_holes;
    int fog_tile_columns() const { return (bmpFog_dark->w + FOG_TILE - 1) / FOG_TILE; }

    // Where the token's last sight holes were cut; they need cutting again only when it
    // has moved.
    bool bToken_holes = false;
    float fToken_hole_x = 0;
    float fToken_hole_y = 0;

    // The breadth-first queue, kept between searches so a search allocates nothing.
    std::vector<NODE*> v_Queue;
};
