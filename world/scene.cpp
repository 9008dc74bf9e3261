#include "world/scene.h"

#include <iterator>

#include "framework/camera.h"
#include "framework/run_files.h"
#include "framework/screen_layout.h"
#include "world/calendar/calendar.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/words/word_database.h"
#include "world/world.h"

namespace
{
// The world wraps; the camera jumps back to its middle one world width away from it.
const float WRAP_HOME = WORLD_WIDTH / 2;
const float WRAP_LEFT = WRAP_HOME - WORLD_WIDTH;
const float WRAP_RIGHT = WRAP_HOME + WORLD_WIDTH;

// The pointer scrolls the view this near an edge of the screen.
const int SCROLL_MARGIN = 50;

// Level n is ZOOM_LEVELS[n - 1]: its zoom, and how fast a step between it and the level
// below runs (the way out at the same speed, backwards).
struct ZOOM_LEVEL
{
    float fZoom;
    float fSpeed;
};
const ZOOM_LEVEL ZOOM_LEVELS[] = {{1.0f, 0.0f}, {3.0f, 0.05f}, {6.0f, 0.08f}, {9.0f, 0.1f}};
const int ZOOM_LEVEL_COUNT = (int)std::size(ZOOM_LEVELS);

void wrap_left(CAMERA* c)
{
    if (c->get_x() <= WRAP_LEFT)
        c->set_position(WRAP_HOME, c->get_y());
}

void wrap_right(CAMERA* c)
{
    if (c->get_x() >= WRAP_RIGHT)
        c->set_position(WRAP_HOME, c->get_y());
}
}

SCENE::SCENE()
{
    words = WORD_DATABASE::instance();
    words->load(WORDS_FILE_PATH);
    calendar = CALENDAR::instance();
    calendar->load(CALENDARS_FILE_PATH);
    // Building the world prepares its databases; generating it is the long part of start-up.
    world = WORLD::instance();
    world->generate();
    iZoom_level = 2;
    // Steps that fell due while the world was built are dropped: no burst of catch-up.
    ticks = 0;
}

SCENE::~SCENE()
{
}

void SCENE::update()
{
    CAMERA* c = CAMERA::current();

    // Levels change only while no zoom animation runs, so a held key steps one at a time.
    if (key[KEY_MINUS] && c->get_zoom_speed() == 0 && iZoom_level > 1 && iZoom_level <= ZOOM_LEVEL_COUNT)
    {
        c->zoom_to(ZOOM_LEVELS[iZoom_level - 2].fZoom, -ZOOM_LEVELS[iZoom_level - 1].fSpeed);
        iZoom_level--;
    }
    if (key[KEY_EQUALS] && c->get_zoom_speed() == 0 && iZoom_level >= 1 && iZoom_level < ZOOM_LEVEL_COUNT)
    {
        c->zoom_to(ZOOM_LEVELS[iZoom_level].fZoom, ZOOM_LEVELS[iZoom_level].fSpeed);
        iZoom_level++;
    }

    // Each call replaces both velocities, so of two directions the later one wins.
    if (key[KEY_LEFT])
    {
        c->move_by(-5, 0, -4, 0);
        wrap_left(c);
    }
    if (key[KEY_RIGHT])
    {
        c->move_by(5, 0, 4, 0);
        wrap_right(c);
    }
    if (key[KEY_UP])
        c->move_by(0, -5, 0, -4);
    if (key[KEY_DOWN])
        c->move_by(0, 5, 0, 4);
    // The margins are those of the screen layout, whatever mode config.ini picks.
    if (mouse_x > SCREEN_WIDTH - SCROLL_MARGIN)
    {
        c->move_by(5, 0, 2, 0);
        wrap_right(c);
    }
    if (mouse_x < SCROLL_MARGIN)
    {
        c->move_by(-5, 0, -2, 0);
        wrap_left(c);
    }
    if (mouse_y > SCREEN_HEIGHT - SCROLL_MARGIN)
        c->move_by(0, 5, 0, 2);
    if (mouse_y < SCROLL_MARGIN)
        c->move_by(0, -5, 0, -2);

    c->update();

    world->update();
    calendar->update();
}

void SCENE::draw(BITMAP* target)
{
    world->draw(target);
    calendar->draw(target);
}
