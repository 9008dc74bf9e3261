#include "world/map/map.h"

#include <functional>
#include <utility>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/screen_layout.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/node.h"
#include "world/map/traveller.h"
#include "world/save_database.h"
#include "world/words/word_database.h"

namespace
{
const int REGIONS = 8; // the word database's [regions] list

// Replaces the text with a fresh capitalised [regions] word.
void draw_region_word(WORD_DATABASE* wdWords, std::string* strName)
{
    strName->clear();
    std::string* sWord = wdWords->random_word(REGIONS, true);
    if (sWord != nullptr)
        strName->append(*sWord);
}
}

MAP::MAP()
    : ENTITY(),
      nPlayer_node(nullptr),
      tTraveller(nullptr),
      bmpFog_dark(nullptr),
      bmpFog_dim(nullptr),
      bmpOverlay(nullptr)
{
    init();
}

MAP::~MAP()
{
    for (NODE* n : l_Nodes)
        delete n;
    for (EDGE* e : l_Edges)
        delete e;
    WORD_DATABASE* wdWords = WORD_DATABASE::existing();
    for (LANDMASS* lm : l_Landmasses)
    {
        // The word record holds this very string.
        if (wdWords != nullptr)
            wdWords->forget(lm->strName);
        delete lm->strName;
        delete lm;
    }
    delete tTraveller;
    destroy_bitmap_if(bmpFog_dark);
    destroy_bitmap_if(bmpFog_dim);
    destroy_bitmap_if(bmpOverlay);
}

void MAP::init()
{
    bmpFog_dark = create_bitmap_or_die(WORLD_WIDTH, WORLD_HEIGHT);
    bmpFog_dim = create_bitmap_or_die(WORLD_WIDTH, WORLD_HEIGHT);
    bmpOverlay = create_bitmap_or_die(SCREEN_WIDTH, SCREEN_HEIGHT);
    rectfill(bmpFog_dark, 0, 0, bmpFog_dark->w, bmpFog_dark->h, BLACK);
    rectfill(bmpFog_dim, 0, 0, bmpFog_dim->w, bmpFog_dim->h, BLACK);
    rectfill(bmpOverlay, 0, 0, bmpOverlay->w, bmpOverlay->h, MAGENTA);
    v_Dark_holes.assign((size_t)(fog_tile_columns() * ((bmpFog_dark->h + FOG_TILE - 1) / FOG_TILE)), false);
    tTraveller = new TRAVELLER();
}

void MAP::update()
{
    // One transaction for every weather row of the tick.
    exec_repeated_sql(save_db, "BEGIN");
    for (NODE* n : l_Nodes)
    {
        NODE* nClicked = n->update_node();
        if (nClicked != nullptr)
            move_position(nClicked);
    }
    exec_repeated_sql(save_db, "COMMIT");
    for (EDGE* e : l_Edges)
        e->update();
    tTraveller->update();
}

void MAP::move_position(NODE* n)
{
    EDGE* eJoining = nullptr;
    for (EDGE* e : l_Edges)
    {
        if (e->connects(nPlayer_node, n))
        {
            eJoining = e;
            break;
        }
    }
    // Without an edge the token cannot set off; the marker has moved all the same.
    if (eJoining == nullptr)
        allegro_message("ERROR:  Bombed at MAP::move_position()");
    else
        tTraveller->start_travel(nPlayer_node, eJoining);
    nPlayer_node = n;
}

bool MAP::connect(NODE* n1, NODE* n2, int type)
{
    if (n1 == nullptr || n2 == nullptr)
    {
        allegro_message("ERROR:  MAP::connect(n1, n2, ES)");
        return false;
    }
    EDGE* e = new EDGE(n1, n2, type);
    n1->add_edge(e);
    n2->add_edge(e);
    add_edge(e);
    return true;
}

bool MAP::connect_normal(NODE* n1, NODE* n2)
{
    return connect(n1, n2, EDGE_NORMAL);
}

bool MAP::connect_by_id(int id1, int id2)
{
    NODE* n1 = nullptr;
    NODE* n2 = nullptr;
    for (NODE* n : l_Nodes)
    {
        if (n->get_id() == id1)
            n1 = n;
        if (n->get_id() == id2)
            n2 = n;
    }
    return connect_normal(n1, n2);
}

int MAP::create_node(float x, float y, CELL* cell)
{
    NODE* n = new NODE();
    n->ENTITY::set_position(x, y);
    n->attach_cell(cell);
    return add_node(n);
}

int MAP::add_node(NODE* node)
{
    l_Nodes.push_front(node);
    return node->get_id();
}

void MAP::add_edge(EDGE* edge)
{
    const bool bIndex_whole = iIndexed_edges != l_Edges.size();
    l_Edges.push_front(edge);
    if (bIndex_whole)
        refresh_edge_index();
    else
        index_edge(edge);
}

size_t MAP::END_PAIR_HASH::operator()(const std::pair<NODE*, NODE*>& p) const
{
    return std::hash<NODE*>()(p.first) * 31 + std::hash<NODE*>()(p.second);
}

void MAP::index_edge(EDGE* edge)
{
    NODE* a = edge->get_west();
    NODE* b = edge->get_east();
    if (b < a)
        std::swap(a, b);
    m_Newest_edge[std::make_pair(a, b)] = edge;
    ++iIndexed_edges;
}

void MAP::refresh_edge_index()
{
    if (iIndexed_edges == l_Edges.size())
        return;
    // Oldest first, so a newer edge between the same ends takes the entry.
    m_Newest_edge.clear();
    iIndexed_edges = 0;
    for (auto it = l_Edges.rbegin(); it != l_Edges.rend(); ++it)
        index_edge(*it);
}

EDGE* MAP::find_edge(NODE* a, NODE* b)
{
    // The first edge of l_Edges joining the two is the newest one between them.
    refresh_edge_index();
    if (b < a)
        std::swap(a, b);
    auto it = m_Newest_edge.find(std::make_pair(a, b));
    return it != m_Newest_edge.end() ? it->second : nullptr;
}

std::string* MAP::landmass_name(int id)
{
    if (id == 0)
        return nullptr;
    for (LANDMASS* lm : l_Landmasses)
        if (lm->iId == id)
            return lm->strName;
    return nullptr;
}

const std::vector<NODE*>& MAP::every_node()
{
    // Nodes only ever go in at the front and none leaves: a change shows at the ends or in
    // the size.
    if (v_Nodes.size() != l_Nodes.size() ||
        (!v_Nodes.empty() && (v_Nodes.front() != l_Nodes.front() || v_Nodes.back() != l_Nodes.back())))
        v_Nodes.assign(l_Nodes.begin(), l_Nodes.end());
    return v_Nodes;
}

int MAP::count_reachable(NODE* start)
{
    for (NODE* n : every_node())
        n->iMark = WHITE;
    return count_depth_first(start, 0);
}

int MAP::count_depth_first(NODE* node, int count)
{
    node->iMark = GRAY;
    count = count + 1;
    node->for_each_neighbour([&](NODE* v) {
        if (v->iMark == WHITE)
            count = count + count_depth_first(v, 0);
    });
    node->iMark = BLACK;
    node->bReached = true;
    return count;
}

int MAP::hop_distance(NODE* from, NODE* to)
{
    if (from == nullptr || to == nullptr)
        return -1;
    for (NODE* n : every_node())
    {
        n->iDistance = -1;
        n->iMark = WHITE;
    }
    from->iDistance = 0;
    v_Queue.clear();
    v_Queue.push_back(from);
    for (size_t iHead = 0; iHead < v_Queue.size() && to->iDistance == -1; ++iHead)
    {
        NODE* u = v_Queue[iHead];
        u->for_each_neighbour([&](NODE* v) {
            if (v->iMark == WHITE)
            {
                v->iMark = GRAY;
                v->iDistance = u->iDistance + 1;
                v_Queue.push_back(v);
            }
        });
        u->iMark = BLACK;
    }
    return to->iDistance;
}

void MAP::classify_edges(NODE* node)
{
    int N = (int)l_Nodes.size();
    int iDivisor = N / 80;
    if (iDivisor > 50)
        iDivisor = 50;
    if (iDivisor < 1)
        iDivisor = 1;
    float fScale = (float)N / (float)iDivisor;
    // Formed in double from single-precision factors, so a nominally whole threshold lies
    // just above its whole number.
    const double dShort_min = (double)fScale * (double)0.05f;
    const double dLong_min = (double)fScale * (double)0.1f;

    for (NODE* m : node->neighbours())
    {
        EDGE* edge = find_edge(node, m);
        if (edge == nullptr)
        {
            allegro_message("Oh crap, we didn't add an edge to the list somewhere...");
            continue;
        }
        edge->block();
        int d = hop_distance(node, m);
        edge->unblock();

        if (d == -1)
            add_unique_edge(l_Bridges, edge);
        else if (d >= dShort_min && d < dLong_min)
            add_unique_edge(l_Short_detours, edge);
        else if (d >= dLong_min)
            add_unique_edge(l_Long_detours, edge);
    }
}

void MAP::add_unique_edge(std::list<EDGE*>& l_List, EDGE* edge)
{
    for (EDGE* e : l_List)
        if (e == edge)
            return;
    l_List.push_back(edge);
}

void MAP::join_group(std::list<NODE*>& main, std::list<NODE*> other)
{
    float fBest = 10000.0f;
    NODE* a = nullptr;
    NODE* b = nullptr;
    for (NODE* p : main)
    {
        for (NODE* q : other)
        {
            float d = distance(p->fX, p->fY, q->fX, q->fY);
            if (d < fBest)
            {
                fBest = d;
                a = p;
                b = q;
            }
        }
    }
    if (a == nullptr || b == nullptr)
        return;
    main.insert(main.end(), other.begin(), other.end());
    connect(a, b, EDGE_GROUP_JOIN);
}

void MAP::add_landmass(int id)
{
    if (id == 0)
        return;
    for (LANDMASS* lm : l_Landmasses)
    {
        if (lm->iId == id)
        {
            lm->iCount = lm->iCount + 1;
            return;
        }
    }
    LANDMASS* lmNew = new LANDMASS{id, 0, new std::string()};
    WORD_DATABASE* wdWords = WORD_DATABASE::instance();
    draw_region_word(wdWords, lmNew->strName);
    while (wdWords->reserve_qualifier(lmNew->strName))
    {
        // Every word taken: a numbered name, recorded, instead of drawing for ever.
        if (wdWords->settle_exhausted(REGIONS, *lmNew->strName))
        {
            wdWords->reserve_qualifier(lmNew->strName);
            break;
        }
        draw_region_word(wdWords, lmNew->strName);
    }
    l_Landmasses.push_back(lmNew);
}
