// Drawing of the map, its fog, edges and nodes: not built yet, so these draw nothing.
#include <string>

#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"

void MAP::draw(BITMAP*)
{
}

void EDGE::draw(BITMAP*)
{
}

void NODE::draw(BITMAP*)
{
}

void NODE::draw_marker(BITMAP*, float, float, float)
{
}

void NODE::draw_sight(BITMAP*, BITMAP*)
{
}

void NODE::draw_info(BITMAP*, float, float, std::string*)
{
}
