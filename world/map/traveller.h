#pragma once

#include <allegro.h>

#include <memory>

#include "framework/entity.h"
#include "world/weather/weather.h"

class EDGE;
class MAP;
class NODE;

// The player's token. It walks an edge in two half-legs, to the waypoint and on to the far
// end, while the calendar runs, slower over harder ground, sleeping at night when heading for
// land. While a leg crosses the seam its x runs outside 0..WORLD_WIDTH by fX_offset.
class TRAVELLER final : public ENTITY
{
public:
    TRAVELLER();
    ~TRAVELLER();
    TRAVELLER(const TRAVELLER&) = delete;
    TRAVELLER& operator=(const TRAVELLER&) = delete;

    void init();

    void set_node(NODE* n) { nNode = n; }
    void set_edge(EDGE* e) { eEdge = e; }
    NODE* get_node() const { return nNode; }
    EDGE* get_edge() const { return eEdge; }
    int get_state() const { return iState; }
    float get_x_offset() const { return fX_offset; }
    WEATHER* get_weather() { return pWeather.get(); }
    // -1 while the token stands at no node.
    int current_node_id() const;

    // Sets off on the half-leg of e that the token's own node and position call for.
    void start_travel(NODE* from, EDGE* e);
    void update() override;
    void travel_step();
    void move_along_edge(bool resumed);

    void draw(BITMAP* bmp) override;
    void draw_status(BITMAP* bmp, float x, float y, MAP* map);

    BITMAP* bmpSprite;
    NODE* nNode;
    EDGE* eEdge;
    float fX_offset;
    int iState; // 0 at a node, 1 travelling, 2 sleeping
    std::unique_ptr<WEATHER> pWeather;
};

constexpr int TRAVELLER_AT_NODE = 0;
constexpr int TRAVELLER_TRAVELLING = 1;
constexpr int TRAVELLER_SLEEPING = 2;
