#pragma once

#include <allegro.h>

#include "framework/entity.h"
#include "world/geometry.h"

class NODE;

// Edge types. Only a locked edge keeps the player off; detours are left out of the quest search.
constexpr int EDGE_NORMAL = 1;
constexpr int EDGE_SHORT_DETOUR = 2;
constexpr int EDGE_LONG_DETOUR = 3;
constexpr int EDGE_GROUP_JOIN = 4;
constexpr int EDGE_LOCKED = 5;
constexpr int EDGE_UNLOCKED = 6;

// A link of the travel map between two nodes, ends ordered west to east. It owns the hidden
// node at its wrap-aware midpoint: the weather of the open country between the ends and the
// half-way target of the traveller. The ends belong to the map.
class EDGE final : public ENTITY
{
public:
    EDGE();
    EDGE(NODE* first, NODE* second);
    EDGE(NODE* first, NODE* second, int es);
    ~EDGE();
    EDGE(const EDGE&) = delete;
    EDGE& operator=(const EDGE&) = delete;

    // A bare edge: normal type, no ends, not blocked, no waypoint. It does not replace the
    // entity's reset(x, y), which stays callable on an edge.
    void reset();
    using ENTITY::reset;

    // Unblocks itself once both ends are revealed, then ticks its waypoint's weather.
    void update() override;
    // In edge_drawing.cpp.
    void draw(BITMAP* bmp) override;

    // The next target of a traveller that left end n and stands at (X, Y): the waypoint until
    // it is at least as far from n as the waypoint, then the far end. Null when n is no end.
    NODE* destination(NODE* n, float X, float Y);
    float length();
    // The shorter of the direct way and the way across the seam; a tie goes to the seam.
    static float wrapped_distance(float x1, float y1, float x2, float y2);
    NODE* other_end(NODE* n) const;
    bool connects(NODE* a, NODE* b) const;

    NODE* get_west() const { return nWest; }
    NODE* get_east() const { return nEast; }
    NODE* get_waypoint() const { return nWaypoint; }
    int get_type() const { return iType; }
    void set_type(int es) { iType = es; }
    void block() { bBlocked = true; }
    void unblock() { bBlocked = false; }
    bool is_open() const { return !bBlocked; }

    float wrap_offset(int sign);
    void draw_line(BITMAP* bmp, float x1, float y1, float x2, float y2, int colour);

    NODE* nWest;
    NODE* nEast;
    NODE* nWaypoint; // owned
    int iType;
    bool bBlocked;

private:
    void order_ends(NODE* first, NODE* second);
    void build_waypoint(NODE* first, NODE* second);
};
