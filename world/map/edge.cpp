#include "world/map/edge.h"

#include "framework/helpers.h"
#include "world/map/node.h"
#include "world/planet/planet.h"
#include "world/world.h"

namespace
{
// A traveller stopped on a waypoint across the seam stands at its copy a world width away,
// whose distance from the start node can come out a rounding short of the waypoint's own:
// within this much it has reached the waypoint.
const float WAYPOINT_REACHED = 1e-3f;

int clamp_index(int i, int iSize)
{
    if (i < 0)
        return 0;
    if (i >= iSize)
        return iSize - 1;
    return i;
}
}

EDGE::EDGE() : ENTITY()
{
    reset();
}

EDGE::EDGE(NODE* first, NODE* second) : ENTITY()
{
    reset();
    if (first == nullptr || second == nullptr)
        return;
    order_ends(first, second);
}

EDGE::EDGE(NODE* first, NODE* second, int es) : ENTITY()
{
    reset();
    if (first == nullptr || second == nullptr)
        return;
    order_ends(first, second);
    iType = es;
    build_waypoint(first, second);
}

EDGE::~EDGE()
{
    delete nWaypoint;
}

void EDGE::reset()
{
    iType = EDGE_NORMAL;
    nWest = nullptr;
    nEast = nullptr;
    bBlocked = false;
    nWaypoint = nullptr;
}

void EDGE::order_ends(NODE* first, NODE* second)
{
    // On equal x the second argument is the west end.
    if (second->fX > first->fX)
    {
        nWest = first;
        nEast = second;
    }
    else
    {
        nWest = second;
        nEast = first;
    }
}

void EDGE::build_waypoint(NODE* first, NODE* second)
{
    PLANET* pPlanet = WORLD::instance()->get_planet();

    float d = distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    float w = seam_distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    float s = d >= w ? -WORLD_WIDTH : 0.0f;

    float x1 = first->fX;
    float y1 = first->fY;
    float x2 = second->fX;
    float y2 = second->fY;
    float mx = x1 + (x2 + s - x1) / 2;
    if (mx < 0)
        mx += WORLD_WIDTH;
    if (mx >= WORLD_WIDTH)
        mx -= WORLD_WIDTH;
    float my = y1 + (y2 - y1) / 2;

    NODE* nNew = new NODE();
    nNew->ENTITY::set_position(mx, my);

    int iColumn = (int)mx;
    int iRow = (int)my;
    if (iColumn < 0 || iColumn >= WORLD_WIDTH || iRow < 0 || iRow >= WORLD_HEIGHT)
        allegro_message("ERROR:  EDGE(n1, n2, es)");

    // Off the grid the nearest cell is read; without a planet the waypoint keeps its fresh
    // cell. The draws are the same either way.
    CELL* pCell = nullptr;
    if (pPlanet != nullptr)
        pCell = pPlanet->get_cell(clamp_index(iColumn, WORLD_WIDTH), clamp_index(iRow, WORLD_HEIGHT));
    nNew->attach_cell(pCell);
    nWaypoint = nNew;
}

void EDGE::update()
{
    if (nWest != nullptr && nEast != nullptr && nWest->bRevealed && nEast->bRevealed)
        bBlocked = false;
    if (nWaypoint != nullptr)
        nWaypoint->update_weather();
}

NODE* EDGE::destination(NODE* n, float X, float Y)
{
    NODE* f = other_end(n);
    if (f == nullptr)
    {
        allegro_message("ERROR: EDGE::destination(n, X, Y)");
        return nullptr;
    }
    float a = wrapped_distance(n->fX, n->fY, nWaypoint->fX, nWaypoint->fY);
    float b = wrapped_distance(n->fX, n->fY, X, Y);
    if (b < a - WAYPOINT_REACHED)
        return nWaypoint;
    return f;
}

float EDGE::length()
{
    return wrapped_distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
}

float EDGE::wrapped_distance(float x1, float y1, float x2, float y2)
{
    float d = distance(x1, y1, x2, y2);
    float w = seam_distance(x1, y1, x2, y2);
    return d < w ? d : w;
}

NODE* EDGE::other_end(NODE* n) const
{
    if (n == nullptr)
        return nullptr;
    if (n == nWest)
        return nEast;
    if (n == nEast)
        return nWest;
    return nullptr;
}

bool EDGE::connects(NODE* a, NODE* b) const
{
    return (nWest == a && nEast == b) || (nWest == b && nEast == a);
}

float EDGE::wrap_offset(int sign)
{
    float d = distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    float w = seam_distance(nWest->fX, nWest->fY, nEast->fX, nEast->fY);
    if (d < w)
        return 0.0f;
    return sign > 0 ? WORLD_WIDTH : -WORLD_WIDTH;
}

void EDGE::draw_line(BITMAP* bmp, float x1, float y1, float x2, float y2, int colour)
{
    line(bmp, (int)x1, (int)y1, (int)x2, (int)y2, colour);
}
