// Methods of NODE: those that turn a bare graph into a game, the start and end marks, ranks,
// populations and regions.

#include <list>
#include <string>

#include "framework/random.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/edge.h"
#include "world/map/node.h"
#include "world/planet/cell.h"
#include "world/words/word_database.h"

NODE* NODE::make_start()
{
    bStart = true;
    bVisited = true;
    bRevealed = true;
    bPlayer = true;
    return this;
}

void NODE::make_end_node()
{
    bEnd = true;
}

int NODE::rank_stride(int iNode_count)
{
    // In double: 930 and 990 nodes give 92 and 98, where float would give 93 and 99.
    int iStride = iNode_count > 0 ? (int)(1.0 / (10.0 / iNode_count)) : 0;
    return iStride == 0 ? 1 : iStride;
}

int NODE::assign_rank(std::list<NODE*>& l_Frontier, int iDepth)
{
    int r = iDepth / rank_stride(GAME::node_count());
    if (iRank != UNRANKED || r > iRank)
        return 0;
    if (r == 0)
        r = 1;
    iRank = r;
    int iDeepest = iDepth;

    // Normal and joining edges carry the rank on at once; the far ends of detours and
    // locked edges wait on the frontier for a deeper start.
    std::list<NODE*> l_Next;
    for (EDGE* e : l_Edges)
    {
        NODE* f = e->other_end(this);
        if (f == nullptr)
            continue;
        int iType = e->get_type();
        if (iType == EDGE_NORMAL || iType == EDGE_GROUP_JOIN)
            l_Next.push_back(f);
        else
            l_Frontier.push_back(f);
    }
    for (NODE* g : l_Next)
    {
        int v = g->assign_rank(l_Frontier, iDepth + 1);
        if (v > iDeepest)
            iDeepest = v;
    }
    return iDeepest;
}

void NODE::set_settlement(bool bFlag, int iLo, int iHi)
{
    bSettlement = bFlag;
    int r1 = random_next();
    int r2 = random_next();
    // Both draws are made even for an empty range, so the sequence does not depend on it.
    long long llRange = (long long)iHi - iLo;
    iPopulation = llRange > 0 ? (int)(iLo + (long long)(r1 * r2) % llRange) : iLo;
    if (iRank > 0)
    {
        // A single-precision factor, multiplied in double: rank 1 turns 100 into 89.
        float fFactor = (float)(1.0 - iRank / 10.0);
        if (fFactor < 0.0001)
            fFactor = 0.0001f;
        iPopulation = (int)((double)iPopulation * fFactor);
    }
}

void NODE::spread_population()
{
    for_each_neighbour([&](NODE* n) { n->receive_population(iPopulation); });
}

void NODE::receive_population(int p)
{
    int v = 0;
    if (p > 2)
    {
        int r = random_next();
        v = r % (p / 2);
    }
    if (iRank > 0)
        v = v / iRank;
    if (bDungeon)
        v = v / 20;
    if (v < iPopulation || v == 0 || get_height() < SEA_LEVEL)
        return;
    // A settlement keeps its own population but still passes the flow on.
    if (!bSettlement)
        iPopulation = v;
    for_each_far_end(passable_edge, [&](NODE* n) { n->receive_population(v); });
}

int NODE::height_band(int iHeight)
{
    if (iHeight < SEA_LEVEL)
        return 0;
    if (iHeight <= 5300)
        return 1;
    if (iHeight <= 10050)
        return 2;
    if (iHeight <= 14000)
        return 3;
    return 4;
}

int NODE::temperature_band(float fTemperature)
{
    if (fTemperature < 35.0f)
        return 1;
    if (fTemperature < 98.0f)
        return 2;
    return 3;
}

void NODE::assign_region(std::string* sName)
{
    if (get_height() < SEA_LEVEL || sRegion != nullptr)
        return;

    if (sName == nullptr)
    {
        WORD_DATABASE* wdWords = WORD_DATABASE::instance();
        // The word itself is recorded as used; the node keeps a copy.
        std::string* sWord = wdWords->random_word(WORDS_REGION, true);
        std::string sNumbered;
        bool bNumbered = false;
        while (sWord != nullptr && wdWords->reserve_qualifier(sWord))
        {
            sNumbered = *sWord;
            bNumbered = wdWords->settle_exhausted(WORDS_REGION, sNumbered);
            if (bNumbered)
                break;
            sWord = wdWords->random_word(WORDS_REGION, true);
        }
        if (bNumbered)
        {
            // No word is left: the node's own string stands in the record for the name.
            sRegion = new std::string(sNumbered);
            wdWords->reserve_qualifier(sRegion);
        }
        else
            sRegion = new std::string(sWord != nullptr ? *sWord : "");
    }
    else
        sRegion = new std::string(*sName);

    const int iHeight_band = height_band(get_height());
    const int iTemperature_band = temperature_band(pCell->fTemperature);
    const int iLandmass = get_landmass();
    for_each_neighbour([&](NODE* n) {
        if (height_band(n->get_height()) == iHeight_band &&
            temperature_band(n->pCell->fTemperature) == iTemperature_band &&
            n->get_landmass() == iLandmass)
            n->assign_region(sRegion);
    });
}
