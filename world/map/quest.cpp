// QUEST's own methods, and a method of WORLD: make_quest, the quest generator, which searches
// the first map for a destination and writes the quest's row.

#include "world/map/quest.h"

#include <list>
#include <string>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "world/map/edge.h"
#include "world/map/map.h"
#include "world/map/node.h"
#include "world/save_database.h"
#include "world/world.h"

int quest_counter = 0;

QUEST::QUEST()
{
    init();
}

void QUEST::init()
{
    quest_counter = quest_counter + 1;
    iQuest_id = quest_counter;
    nLocked = nullptr;
    nTarget = nullptr;
    eLocked = nullptr;
}

void QUEST::reset_ids()
{
    quest_counter = 0;
}

namespace
{
// Every node unvisited and unmeasured, then S alone in the queue at distance 0. S keeps its
// WHITE mark, so the first neighbour that looks at it queues it once more.
void start_search(std::list<NODE*>& l_Nodes, NODE* S, std::list<NODE*>& l_Queue)
{
    for (NODE* n : l_Nodes)
    {
        n->iDistance = -1;
        n->iMark = WHITE;
    }
    S->iDistance = 0;
    l_Queue.clear();
    l_Queue.push_back(S);
}

bool near_rank(NODE* n, int iRank)
{
    return iRank - 2 <= n->get_rank() && n->get_rank() <= iRank + 1;
}

// Whole passes over the candidates until one is taken: a candidate at distance d by a draw
// above 100 - 8 d, a sole candidate after its one draw anyway.
NODE* pick_destination(const std::list<NODE*>& l_Possible)
{
    NODE* nChosen = nullptr;
    while (nChosen == nullptr)
    {
        for (NODE* c : l_Possible)
        {
            if (nChosen != nullptr)
                break;
            int r = random_next() % 100;
            if (r > 100 - 8 * c->iDistance)
                nChosen = c;
            else if (l_Possible.size() == 1)
                nChosen = c;
        }
    }
    return nChosen;
}
}

void WORLD::make_quest(NODE* L, NODE* S, EDGE* E)
{
    if (l_Maps.empty() || L == nullptr || S == nullptr || E == nullptr)
        return;
    int iRank = L->get_rank();
    std::list<NODE*> l_Nodes = l_Maps.front()->get_nodes();
    std::list<NODE*> l_Queue;
    std::list<NODE*> l_Possible;

    // Near the revealed node's rank, over normal, joining and unlocked edges only, no
    // deeper than 15 hops and not through nodes ranked above rank + 1.
    start_search(l_Nodes, S, l_Queue);
    while (!l_Queue.empty())
    {
        NODE* u = l_Queue.front();
        l_Queue.pop_front();
        if (near_rank(u, iRank))
            l_Possible.push_back(u);
        u->for_each_far_end(NODE::free_edge, [&](NODE* v) {
            if (v->iMark == WHITE && v->get_rank() <= iRank + 1 && u->iDistance < 15)
            {
                v->iMark = GRAY;
                v->iDistance = u->iDistance + 1;
                l_Queue.push_back(v);
            }
        });
    }

    bool bFallback = l_Possible.empty();
    if (bFallback)
    {
        // Anywhere but across the edge itself: every other unblocked edge, locked ones
        // included, and settlements of any rank.
        E->block();
        start_search(l_Nodes, S, l_Queue);
        while (!l_Queue.empty())
        {
            NODE* u = l_Queue.front();
            l_Queue.pop_front();
            if (u->is_settlement() || near_rank(u, iRank))
                l_Possible.push_back(u);
            u->for_each_neighbour([&](NODE* v) {
                if (v->iMark == WHITE)
                {
                    v->iMark = GRAY;
                    v->iDistance = u->iDistance + 1;
                    l_Queue.push_back(v);
                }
            });
        }
        E->unblock();
        if (l_Possible.empty())
        {
            allegro_message("ERROR:  No way to unlock!");
            return;
        }
    }

    NODE* nChosen = pick_destination(l_Possible);
    QUEST* qNew = new QUEST();
    qNew->nLocked = L;
    qNew->nTarget = nChosen;
    qNew->eLocked = E;

    const std::string strName = nChosen->get_name();
    const std::string strShown = bFallback ? "'" + strName + "'" : strName;
    add_message(new std::string("Travel to " + strShown + " to unlock edge.  Rank:  " +
                                std::to_string(nChosen->get_rank())));

    std::string strSql = "INSERT INTO quests VALUES(" + std::to_string(qNew->get_id()) + "," +
                         sql_quote(strName) + "," + sql_quote(L->get_name()) + ")";
    exec_repeated_sql(save_db, strSql.c_str());

    l_Quests.push_back(qNew);
}
