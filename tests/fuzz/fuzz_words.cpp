// The words.dat reader, then the draws, the drawing and the node naming that use what it read.
#include <allegro.h>
#include <sqlite3.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "framework/helpers.h"
#include "framework/random.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/map/node.h"
#include "world/planet/cell.h"
#include "world/save_database.h"
#include "world/words/word_database.h"

namespace
{
// Every node writes its row into the save database when built: an in-memory one will do.
void open_save_db()
{
    if (save_db != nullptr)
        return;
    if (sqlite3_open(":memory:", &save_db) != SQLITE_OK ||
        sqlite3_exec(save_db, "CREATE TABLE nodes (id INTEGER)", nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        std::abort();
}

// A small map's nodes, more than tiny lists have names for: sea and land, heights with and
// without place or dungeon words in the fixture's places (and the word with an apostrophe),
// start nodes of low rank that settle, unranked nodes that never do. No edges: with no node
// count set every node counts as a hub.
void name_nodes(WORD_DATABASE& words)
{
    static const int HEIGHTS[] = {4000, 6000, 20500, 22500, 23500, 24500};
    exec_sql(save_db, "DELETE FROM nodes");
    std::vector<std::unique_ptr<NODE>> v_Nodes;
    for (int i = 0; i < 24; ++i)
    {
        NODE* n = new NODE();
        v_Nodes.emplace_back(n);
        n->pCell->iHeight = HEIGHTS[i % 6];
        n->pCell->fTemperature = (float)(i * 7 % 120);
        n->set_rank(i % 5 == 4 ? 99999 : i % 8);
        if (i % 4 == 1)
            n->make_start();
        std::string* sName = words.name_node(n);
        delete n->sName;
        n->sName = sName;
    }
    // The names go with their nodes; the record must not outlive them.
    words.reset_used();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_start();
    open_save_db();
    static BITMAP* bmp = create_bitmap_ex(32, 320, 240);
    const std::string sPath = fuzz_write_input("words.dat", data, size);

    WORD_DATABASE words(fuzz_words_db());
    if (!words.read_file(sPath.c_str()).empty() || !words.check_lists(sPath.c_str()).empty())
        return 0;
    random_seed(static_cast<unsigned int>(size));
    for (int iCategory = 0; iCategory <= 11; ++iCategory)
    {
        std::string* sWord = words.random_word(iCategory, true);
        if (sWord)
        {
            words.query_image(*sWord);
            textprintf_ex(bmp, font, 0, 0, 0xFFFFFF, -1, "%s", sWord->c_str());
        }
    }
    words.random_settlement(WORD_DATABASE::l_Settlements);
    words.dump_adjectives(bmp);
    name_nodes(words);
    return 0;
}
