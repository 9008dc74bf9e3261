#include "world/map/traveller.h"

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/run_files.h"
#include "world/calendar/calendar.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/weather/weather.h"

namespace
{
// The value of the way from f to t with rem of seg still to go: t's as the token leaves f.
float blend(float fFrom, float fTo, float rem, float seg)
{
    return fFrom + (fTo - fFrom) * rem / seg;
}

void shadowed_text(BITMAP* bmp, float x, float y, const char* sText)
{
    textprintf_ex(bmp, font, (int)(x + 1), (int)(y + 5 + 1), BLACK, -1, "%s", sText);
    textprintf_ex(bmp, font, (int)x, (int)(y + 5), YELLOW, -1, "%s", sText);
}
}

TRAVELLER::TRAVELLER() : ENTITY()
{
    init();
}

TRAVELLER::~TRAVELLER()
{
    destroy_bitmap_if(bmpSprite);
}

void TRAVELLER::init()
{
    ENTITY::reset(0, 0);
    bmpSprite = load_bitmap_or_die(SMILEY_IMAGE_PATH, nullptr);
    nNode = nullptr;
    eEdge = nullptr;
    fX_offset = 0;
    iState = TRAVELLER_AT_NODE;
    pWeather.reset(new WEATHER(0, 0, 0, nullptr));
}

int TRAVELLER::current_node_id() const
{
    return nNode != nullptr ? nNode->get_id() : -1;
}

void TRAVELLER::start_travel(NODE*, EDGE* e)
{
    if (e == nullptr)
        return;
    float len = e->length();
    fX_offset = 0;
    eEdge = e;
    NODE* t = e->destination(nNode, fX, fY);
    // Not an end of the edge: the token stays where it is.
    if (t == nullptr)
        return;

    float d = distance(t->fX, t->fY, fX, fY);
    float w = seam_distance(fX, fY, t->fX, t->fY);
    if (d >= w)
        fX_offset = fX - t->fX > 0 ? -WORLD_WIDTH : WORLD_WIDTH;

    // An edge whose ends coincide has no direction to go in.
    if (len <= 0)
        return;
    float vx = (t->fX - fX - fX_offset) / len;
    float vy = (t->fY - fY) / len;
    if (vx != 0 || vy != 0)
    {
        ENTITY::set_destination(t->fX - fX_offset, t->fY);
        fVx = vx;
        fVy = vy;
        CALENDAR::instance()->start();
    }
}

void TRAVELLER::update()
{
    ENTITY::update();
    travel_step();

    CALENDAR* pCalendar = CALENDAR::instance();
    if (!is_moving() && pCalendar->is_running() && iState == TRAVELLER_TRAVELLING)
    {
        NODE* nArrived = eEdge != nullptr ? eEdge->other_end(nNode) : nullptr;
        if (nArrived != nullptr)
            nNode = nArrived;
        ENTITY::set_position(fX + fX_offset, fY);
        CAMERA::current()->set_position(fX, fY);
        fX_offset = 0;
        iState = TRAVELLER_AT_NODE;
        pCalendar->stop();
    }

    pWeather->update();
}

void TRAVELLER::travel_step()
{
    CALENDAR* pCalendar = CALENDAR::instance();
    if (!pCalendar->is_running() || eEdge == nullptr)
        return;

    CAMERA::current()->pan_to(fX, fY, 5.0f);
    NODE* t = eEdge->destination(nNode, fX, fY);
    if (t == nullptr)
        return;
    int iHour = pCalendar->get_hour();

    bool bResumed = false;
    if (t->get_height() > SEA_LEVEL && (iHour < 6 || iHour > 19))
        iState = TRAVELLER_SLEEPING;
    else
    {
        bResumed = iState == TRAVELLER_SLEEPING;
        iState = TRAVELLER_TRAVELLING;
    }
    move_along_edge(bResumed);
}

void TRAVELLER::move_along_edge(bool resumed)
{
    if (eEdge == nullptr)
        return;
    if (iState == TRAVELLER_SLEEPING)
        ENTITY::halt();

    NODE* t = eEdge->destination(nNode, fX, fY);
    if (t == nullptr)
        return;
    NODE* nWaypoint = eEdge->get_waypoint();
    NODE* f = t != nWaypoint ? nWaypoint : nNode;

    // After a night's sleep, or at the waypoint: the next half-leg.
    if (resumed || (!is_moving() && iState == TRAVELLER_TRAVELLING))
        start_travel(f, eEdge);

    float seg = EDGE::wrapped_distance(f->fX, f->fY, t->fX, t->fY);
    float rem = EDGE::wrapped_distance(fX, fY, t->fX, t->fY);
    if (seg == 0)
        return;

    float d = blend((float)f->get_difficulty(), (float)t->get_difficulty(), rem, seg);
    WEATHER* wFrom = f->get_weather();
    WEATHER* wTo = t->get_weather();
    if (wFrom != nullptr && wTo != nullptr)
    {
        pWeather->set_param_a(blend(wFrom->get_param_a(), wTo->get_param_a(), rem, seg));
        pWeather->set_param_b(blend(wFrom->get_param_b(), wTo->get_param_b(), rem, seg));
        pWeather->set_temperature(blend(wFrom->get_temperature(), wTo->get_temperature(), rem, seg));
    }
    pWeather->set_cell(t->get_cell());

    if (iState == TRAVELLER_SLEEPING)
        return;
    if (fVx == 0 && fVy == 0)
        return;

    float K = -0.13333334f * d + 3.0f;
    if (K < 0.25f)
        K = 0.25f;
    float dx = t->fX - f->fX - fX_offset;
    if (dx < -WORLD_WIDTH)
        dx += WORLD_WIDTH;
    if (dx >= WORLD_WIDTH)
        dx -= WORLD_WIDTH;
    fVx = K * dx / seg / 2;
    fVy = K * (t->fY - f->fY) / seg / 2;
}

void TRAVELLER::draw(BITMAP* bmp)
{
    CAMERA* c = CAMERA::current();
    int w = bmpSprite->w;
    int h = bmpSprite->h;
    for (float m : COPY_OFFSETS)
    {
        float sx = c->world_to_screen_x(fX + m) - c->scale_length_x(w / 2) + c->scale_length_x(8) - w / 2;
        float sy = c->world_to_screen_y(fY) - c->scale_length_y(h / 2) + c->scale_length_y(8) - h / 2;
        masked_stretch_blit(bmpSprite, bmp, 0, 0, w, h, (int)sx, (int)sy, w, h);
    }
}

void TRAVELLER::draw_status(BITMAP* bmp, float x, float y, MAP* map)
{
    pWeather->draw(bmp, 0);
    if (iState == TRAVELLER_AT_NODE)
    {
        if (nNode != nullptr)
            nNode->draw_info(bmp, x, y, map != nullptr ? map->landmass_name(nNode->get_landmass()) : nullptr);
    }
    else if (iState == TRAVELLER_TRAVELLING)
        shadowed_text(bmp, x, y, "Traveling...");
    else if (iState == TRAVELLER_SLEEPING)
        shadowed_text(bmp, x, y, "Sleeping...");
}
