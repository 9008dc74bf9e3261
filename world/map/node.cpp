#include "world/map/node.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "framework/camera.h"
#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/sprite.h"
#include "world/geometry.h"
#include "world/map/quest.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/weather/weather.h"
#include "world/words/word_database.h"
#include "world/world.h"

int node_counter = 0;

namespace
{

const int HIGHLAND = 14000;

template <typename TAKE>
std::list<NODE*> far_ends(NODE* node, TAKE take)
{
    std::list<NODE*> l_Far;
    node->for_each_far_end(take, [&](NODE* n) { l_Far.push_back(n); });
    return l_Far;
}
}

NODE::NODE() : ENTITY()
{
    init();
}

NODE::~NODE()
{
    // The word record may hold these very strings; it must not outlive them.
    WORD_DATABASE* wdWords = WORD_DATABASE::existing();
    if (wdWords != nullptr)
        for (std::string* s : {sName, sRegion, sKind, sLocation})
            wdWords->forget(s);
    delete sRegion;
    pWeather.reset();
    delete pCell;
    delete sName;
    delete sKind;
    delete sLocation;
    delete sprIcon;
    delete sprBadge;
}

void NODE::init()
{
    iGroup = -1;
    pCell = new CELL();
    CELL::init(pCell);
    iId = node_counter;
    node_counter = node_counter + 1;
    std::string strSql = "INSERT INTO nodes VALUES(" + std::to_string(iId) + ")";
    exec_repeated_sql(save_db, strSql.c_str());
    bReached = false;
    iDistance = -1;
    iMark = WHITE;
    bSettlement = false;
    sName = new std::string();
    sKind = new std::string();
    sLocation = new std::string();
    iRank = UNRANKED;
    bStart = false;
    bRevealed = false;
    bHovered = false;
    bPlayer = false;
    bDungeon = false;
    bVisited = false;
    bEnd = false;
    bSight_cut = false;
    sRegion = nullptr;
    iPopulation = 0;
    iDifficulty = 0;
    pWeather.reset();
    sprIcon = new SPRITE(0, 64, 64);
    sprBadge = new SPRITE(1, 32, 32);
}

void NODE::attach_cell(CELL* cell)
{
    if (cell != nullptr)
        CELL::copy(pCell, cell);
    int h = pCell->iHeight;

    int r = random_next();
    if (h < SEA_LEVEL)
        iDifficulty = r % 10;
    else if (h < HIGHLAND)
        iDifficulty = r % 10 + 10;
    else
        iDifficulty = r % 10 + 20;

    // The first of the two draws is parameter B, the second parameter A.
    int r1 = random_next();
    int r2 = random_next();
    pWeather.reset(new WEATHER((float)(r2 % 100), (float)(r1 % 100), pCell->fTemperature, pCell));
    pWeather->set_node_id(iId);
}

void NODE::update()
{
    update_node();
}

NODE* NODE::update_node()
{
    bHovered = false;
    NODE* nResult = nullptr;
    float fMove_modifier = 0;

    CAMERA* c = CAMERA::current();
    if (bRevealed)
    {
        for (float m : COPY_OFFSETS)
        {
            float sx = c->world_to_screen_x(fX + m);
            float sy = c->world_to_screen_y(fY);
            float rx = c->scale_length_x(5);
            float ry = c->scale_length_y(5);
            if (sx - rx < mouse_x && mouse_x < sx + rx && sy - ry < mouse_y && mouse_y < sy + ry)
            {
                bHovered = true;
                fMove_modifier = m;
            }
        }
    }

    if (bHovered && (mouse_b & 1))
    {
        for (NODE* n : passable_neighbours())
        {
            if (n->bPlayer && !WORLD::instance()->is_player_moving())
            {
                bPlayer = true;
                bVisited = true;
                nResult = this;
                n->bPlayer = false;
                reveal_neighbours();
                c->pan_to(fX + fMove_modifier, fY, 2.0f);
            }
        }
    }

    check_quest();
    update_weather();
    return nResult;
}

void NODE::update_weather()
{
    if (!pWeather)
        return;
    pWeather->update();
    pWeather->update_temperature();
}

void NODE::check_quest()
{
    WORLD* pWorld = WORLD::instance();
    QUEST* qDone = nullptr;
    for (QUEST* q : pWorld->open_quests())
    {
        if (q->nTarget == this)
        {
            qDone = q;
            break;
        }
    }
    if (qDone == nullptr || !bPlayer)
        return;

    pWorld->add_message(new std::string("Quest to " + *sName + " complete!"));
    if (qDone->eLocked != nullptr)
        qDone->eLocked->set_type(EDGE_UNLOCKED);
    std::list<QUEST*> l_Quests = pWorld->get_quests();
    l_Quests.erase(std::find(l_Quests.begin(), l_Quests.end(), qDone));
    pWorld->set_quests(l_Quests);
    delete qDone;
}

void NODE::reveal_neighbours()
{
    for (EDGE* e : l_Edges)
    {
        NODE* f = e->other_end(this);
        if (f == nullptr || f->bRevealed)
            continue;
        if (e->get_type() == EDGE_LOCKED)
            WORLD::instance()->make_quest(f, this, e);
        f->bRevealed = true;
    }
}

bool NODE::free_edge(const EDGE* e)
{
    int iType = e->get_type();
    return e->is_open() && iType != EDGE_SHORT_DETOUR && iType != EDGE_LONG_DETOUR &&
           iType != EDGE_LOCKED;
}

std::list<NODE*> NODE::neighbours()
{
    return far_ends(this, open_edge);
}

std::list<NODE*> NODE::passable_neighbours()
{
    return far_ends(this, passable_edge);
}

std::list<NODE*> NODE::free_neighbours()
{
    return far_ends(this, free_edge);
}

void NODE::add_edge(EDGE* e)
{
    l_Edges.push_front(e);
}

bool NODE::is_adjacent(NODE* n)
{
    for (EDGE* e : l_Edges)
        if (e->other_end(this) == n)
            return true;
    return false;
}

bool NODE::has_settlement_neighbour()
{
    bool bFound = false;
    for_each_neighbour([&](NODE* n) { bFound = bFound || n->bSettlement; });
    return bFound;
}

void NODE::collect_component(std::list<NODE*>& out, int stamp)
{
    if (iGroup == stamp)
        return;
    iGroup = stamp;
    out.push_back(this);
    for_each_neighbour([&](NODE* n) { n->collect_component(out, stamp); });
}

void NODE::make_name()
{
    // The record must not hold the old name once it is freed.
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    wdWords->forget(sName);
    std::string* sNew = wdWords->name_node(this);
    delete sName;
    sName = sNew;
}

const char* NODE::get_name() const
{
    return sName->c_str();
}

void NODE::set_kind(const std::string& word, int image)
{
    sKind->clear();
    *sKind = word;
    if (!sKind->empty())
        (*sKind)[0] = (char)toupper((unsigned char)(*sKind)[0]);
    sprIcon->set_column(image % 10);
    sprIcon->set_row(image / 10);
}

void NODE::append_location(const std::string& s)
{
    sLocation->append(s);
}

int NODE::get_height() const
{
    return pCell->iHeight;
}

int NODE::get_temperature() const
{
    return (int)pCell->fTemperature;
}

int NODE::get_landmass() const
{
    return pCell->iLandmass;
}
