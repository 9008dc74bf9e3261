// Methods of WORD_DATABASE: the naming of nodes, settlement-style names (one location word)
// and composed names (a place part and an owner part). On the way the naming decides
// settlements and dungeons and sets each node's kind and icon. The order of the draws is the
// order of the statements.

#include <list>
#include <set>
#include <string>
#include <unordered_set>

#include "framework/random.h"
#include "world/game.h"
#include "world/geometry.h"
#include "world/map/node.h"
#include "world/words/word_database.h"

namespace
{
// A word that may be missing (a place query without rows) reads as the empty word.
const std::string& text_of(const std::string* sWord)
{
    static const std::string sNone;
    return sWord != nullptr ? *sWord : sNone;
}
}

std::string* WORD_DATABASE::make_settlement(NODE* node)
{
    int E = node->edge_count();
    int r1 = random_next() % 100;
    int N = GAME::node_count();

    // In single precision: 100 nodes need 8 edges, 50 need 4 and 25 need 2; 4 always do.
    bool bHub = E >= N * 0.08f || E >= 4;
    bool bNeighbour = node->has_settlement_neighbour();
    bool bCandidate = (bHub && !bNeighbour && r1 > 50) || (bHub && bNeighbour && r1 > 90) ||
                      node->is_start();
    if (!bCandidate)
        return nullptr;

    int v = (int)(100.0 - 8.0 * node->get_rank());
    int r2 = random_next() % 100;
    if (!(r2 > 100 - v))
        return nullptr;

    WORD* wKind = random_settlement(l_Settlements);
    node->set_settlement(true, wKind->iMin, wKind->iMax);
    return wKind->sWord;
}

std::string* WORD_DATABASE::person_name(NODE*)
{
    std::string* sName = random_word(WORDS_NAME, true);
    std::string* sTitle = random_word(WORDS_TITLE, true);
    int iChoice = random_next() % 100;
    if (iChoice > 50)
        return new std::string(text_of(sTitle) + " " + text_of(sName));
    return new std::string(text_of(sName));
}

void WORD_DATABASE::set_node_image(NODE* node, const std::string* sWord)
{
    if (sWord == nullptr)
    {
        node->set_kind("", iLast_image);
        return;
    }
    node->set_kind(*sWord, query_image(*sWord));
}

std::string* WORD_DATABASE::place_part(NODE* node)
{
    int f = random_next() % 1000;
    std::string* P = new std::string();
    const std::string& A = text_of(random_word(WORDS_ADJECTIVE, true));
    const std::string& V = text_of(random_word(WORDS_ADVERB, true));

    std::string* W = nullptr;
    if (node->get_height() > SEA_LEVEL)
    {
        W = make_settlement(node);
        if (W == nullptr)
        {
            int iRoll = random_next() % 100;
            if (iRoll > 50)
                W = random_word_for_node(WORDS_PLACE, node, true);
            else
            {
                W = random_word_for_node(WORDS_DUNGEON, node, true);
                node->set_dungeon(true);
            }
        }
    }
    else
        W = random_word_for_node(WORDS_PLACE, node, true);

    set_node_image(node, W);

    // A place word lives in l_Words only until the next place query: use it now.
    const std::string& sW = text_of(W);
    const bool bSettlement = node->is_settlement();
    if (f <= 100)
        *P = V + " " + A + " " + sW;
    else if (f <= 200 || (f <= 500 && bSettlement))
        *P = sW;
    else
        *P = A + " " + sW;
    return P;
}

std::string* WORD_DATABASE::owner_part(NODE* node)
{
    std::string* O = new std::string();
    while (true)
    {
        O->clear();
        const std::string& A = text_of(random_word(WORDS_ADJECTIVE, true));
        std::string* Pn = person_name(node);
        const std::string& M = text_of(random_word(WORDS_MONSTER, true));
        std::string L = text_of(random_word(WORDS_LOCATION, true));
        const std::string& T = text_of(random_word(WORDS_TITLE, true));
        int c = random_next() % 1000;

        if (c > 300 || node->is_settlement())
            *O = L;
        else if (c > 200)
            *O = *Pn;
        else if (c > 100)
            *O = M + "s";
        else if (c >= 50)
            *O = A + " " + M + "s";
        else if (c > 25)
            *O = "the " + A + " " + *Pn;
        else if (c > 10)
            *O = T + "s";
        else
            *O = "the " + A + " " + T + "s";
        delete Pn;

        if (find_word(l_Used_qualifiers, O))
        {
            // Drawing again ends only while some owner part is free; once none is, this
            // attempt's location word numbered.
            if (!owner_parts_taken(node->is_settlement()))
                continue;
            L = numbered(WORDS_LOCATION, L);
            *O = L;
        }
        node->append_location(L);
        keep_qualifier(O);
        return O;
    }
}

bool WORD_DATABASE::owner_parts_taken(bool bSettlement)
{
    if (!list_taken(WORDS_LOCATION))
        return false;
    if (bSettlement)
        return true;

    // The other forms, cheapest first; the search stops at the first free text, so it
    // reads at most about as many texts as the record holds.
    const std::unordered_set<std::string_view> set_Used = used_qualifier_texts();
    auto free = [&](const std::string& s) { return set_Used.count(s) == 0; };
    const std::set<std::string> set_Adjectives = capitalised_words(WORDS_ADJECTIVE);
    const std::set<std::string> set_Names = capitalised_words(WORDS_NAME);
    const std::set<std::string> set_Titles = capitalised_words(WORDS_TITLE);
    const std::set<std::string> set_Monsters = capitalised_words(WORDS_MONSTER);
    for (const std::string& M : set_Monsters)
        if (free(M + "s"))
            return false;
    for (const std::string& T : set_Titles)
        if (free(T + "s"))
            return false;
    // A person is a name, or a title and a name.
    auto any_person_free = [&](const std::string& sBefore) {
        for (const std::string& Nm : set_Names)
            if (free(sBefore + Nm))
                return true;
        for (const std::string& Ti : set_Titles)
            for (const std::string& Nm : set_Names)
                if (free(sBefore + Ti + " " + Nm))
                    return true;
        return false;
    };
    if (any_person_free(""))
        return false;
    for (const std::string& A : set_Adjectives)
    {
        for (const std::string& M : set_Monsters)
            if (free(A + " " + M + "s"))
                return false;
        for (const std::string& T : set_Titles)
            if (free("the " + A + " " + T + "s"))
                return false;
        if (any_person_free("the " + A + " "))
            return false;
    }
    return true;
}

std::string* WORD_DATABASE::name_node(NODE* node)
{
    std::string* N = new std::string();
    while (true)
    {
        int r = random_next() % 100;
        if (r < 45 && node->get_height() > SEA_LEVEL)
        {
            // Settlement style: one location word.
            N->clear();
            std::string* W = make_settlement(node);
            N->append(text_of(random_word(WORDS_LOCATION, true)));
            if (find_word(l_Used_qualifiers, N))
                continue;
            if (W != nullptr)
                set_node_image(node, W);
            else
                set_node_image(node, random_word_for_node(WORDS_PLACE, node, true));
            node->append_location(*N);
            // N itself: a later attempt that rewrites it rewrites this entry too.
            l_Used_qualifiers.push_back(N);
        }
        else
        {
            N->clear();
            std::string* P = place_part(node);
            std::string* O = owner_part(node);
            int d = random_next() % 100;
            if (d > 50)
                *N = *capitalise(O) + "'s " + *P; // the recorded owner part changes with it
            else if (d >= 26 && !node->is_settlement())
                *N = *capitalise(P);
            else
                *N = *capitalise(P) + " of " + *O;
            delete P;
        }

        if (find_word(l_Used_names, N))
            continue;
        l_Used_names.push_back(N);
        return N;
    }
}
