#include "world/world.h"

#include <string>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/screen_layout.h"
#include "framework/scroll_window.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/map/quest.h"
#include "world/map/traveller.h"
#include "world/planet/planet.h"
#include "world/save_database.h"
#include "world/weather/weather_condition.h"

WORLD* WORLD::instance()
{
    static WORLD* pWorld = new WORLD();
    return pWorld;
}

WORLD::WORLD()
    : pPlanet(nullptr),
      bmpBackground(nullptr),
      pTraveller(nullptr),
      bGenerated(false)
{
    init();
}

WORLD::~WORLD()
{
    delete_all(l_Maps);
    delete_all(l_Quests);
    delete_all(l_Windows);
    clear_messages();
    destroy_bitmap_if(bmpBackground);
    // The weather conditions are not the world's: their list frees them.
    close_save_database();
}

bool WORLD::is_player_moving()
{
    return pTraveller != nullptr && pTraveller->is_moving();
}

void WORLD::clear_messages()
{
    delete_all(l_Messages);
}

void WORLD::generate()
{
    MAP* mNew_Map = new MAP();
    pPlanet = new PLANET();
    pPlanet->create_bitmaps();
    pPlanet->generate(500, 300);
    pPlanet->render(WORLD_WIDTH, WORLD_HEIGHT);
    mNew_Map->generate(pPlanet, GAME::node_count());

    make_background(pPlanet->get_image());
    show_progress(10, 250, YELLOW, "Freeing Planet Memory");
    delete pPlanet;
    pPlanet = nullptr;
    bGenerated = true;

    // First in the list before the first quests: their search walks the first map.
    l_Maps.push_front(mNew_Map);
    if (mNew_Map->nPlayer_node != nullptr)
        mNew_Map->nPlayer_node->reveal_neighbours();
}

void WORLD::update()
{
    if (!l_Windows.empty())
    {
        // A window open pauses the map: no clicks, no travel, no clearing.
        for (SCROLL_WINDOW* swWindow : l_Windows)
            swWindow->update();
    }
    else
    {
        for (MAP* mMap : l_Maps)
            mMap->update();
        if (mouse_b & 2)
            clear_messages();
    }
    handle_window_key(KEY_S, bKey_s, POPULATION_CHART, bPopulation_open);
    handle_window_key(KEY_W, bKey_w, RECENT_WEATHER, bWeather_open);
    handle_window_key(KEY_Q, bKey_q, QUESTS, bQuests_open);
}

void WORLD::draw(BITMAP* target)
{
    if (bGenerated)
        draw_background(target, WORLD_WIDTH, WORLD_HEIGHT);
    for (MAP* mMap : l_Maps)
        mMap->draw(target);
    if (!l_Messages.empty())
        draw_quest_panel(target);
    // The window opened first lies on top.
    for (auto it = l_Windows.rbegin(); it != l_Windows.rend(); ++it)
        (*it)->draw(target);
    draw_status_bar(target);
}

void WORLD::draw_quest_panel(BITMAP* target)
{
    int y = 25;
    int n = (int)l_Messages.size();
    // The box grows by 15 a message while the lines advance by 10.
    set_trans_blender(0, 0, 0, 128);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, 50, y - 20, 590, y + 15 * (n + 1), DARK_BLUE);
    solid_mode();
    rect(target, 50, y - 20, 590, y + 15 * (n + 1), WHITE);
    textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y - 15, WHITE, -1, "QUESTS");
    for (std::string* sMessage : l_Messages)
    {
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X - 1, y - 1, BLACK, -1, "%s", sMessage->c_str());
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X + 1, y + 1, BLACK, -1, "%s", sMessage->c_str());
        textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y, YELLOW, -1, "%s", sMessage->c_str());
        y += 10;
    }
    textprintf_centre_ex(target, font, SCREEN_CENTRE_X, y + 5, WHITE, -1, "Right click to clear messages.");
}

void WORLD::draw_status_bar(BITMAP* target)
{
    set_trans_blender(0, 0, 0, 230);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, 0, 440, SCREEN_WIDTH, SCREEN_HEIGHT, OLIVE_DRAB);
    line(target, 0, 440, SCREEN_WIDTH, 440, DARK_KHAKI);
    solid_mode();
    if (pTraveller != nullptr)
        pTraveller->draw_status(target, 5.0f, 445.0f, l_Maps.empty() ? nullptr : l_Maps.front());
}

void WORLD::init()
{
    pPlanet = nullptr;
    bKey_s = false;
    bPopulation_open = false;
    bKey_w = false;
    bWeather_open = false;
    bKey_q = false;
    bQuests_open = false;

    read_weather_conditions();
    forget_shown_messages();
    open_save_database();
}
