#include "world/words/word_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "framework/random.h"
#include "tests/headless.h"

namespace fs = std::filesystem;

namespace
{
std::string read_text(const std::string& sPath)
{
    std::ifstream in(sPath);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Builds a database from SQL text; databases are never kept in the tree.
std::string make_db(const std::string& sName, const std::string& sSql)
{
    std::string sPath = (scratch_dir() / sName).string();
    fs::remove(sPath);
    make_database(sPath, sSql);
    return sPath;
}

std::string fixture_db()
{
    static std::string sPath =
        make_db("places.db", read_text(std::string(ORV_TEST_DATA) + "/words/places.sql"));
    return sPath;
}

// One word in every list the draws need, so the file loads.
const char* BASE_WORDS = "[adjectives]\nbase\n[names]\nBrenna\n[titles]\nduke\n[adverbs]\nvery\n"
                         "[locations]\nHarrow\n[regions]\nmarch\n[monsters]\nwolf\n";

std::vector<std::string> sorted(std::list<std::string> l_List)
{
    l_List.sort();
    return std::vector<std::string>(l_List.begin(), l_List.end());
}

class WordDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override { random_seed(1234); }
};
} // namespace

TEST_F(WordDatabaseTest, WordLinesFollowTheGrammar)
{
    const std::string sLong(2500, 'x');
    struct CASE
    {
        std::string sLine;
        std::vector<std::string> vWords;
    } cases[] = {
        {"a, b, c", {"a", "b", "c"}},
        {"a, b, ", {"a", "b", ""}},
        {"a,b", {"a", ""}},
        {"a,,b", {"a", "b"}},
        {"a, b,", {"a", "b"}},
        {"", {}},
        {"a, b\r", {"a", "b"}},
        {"two words, kept  as is", {"two words", "kept  as is"}},
        {"Old Mill", {"Old Mill"}},
        {sLong + ", y", {sLong, "y"}},
    };
    for (const CASE& c : cases)
    {
        std::string sPath =
            write_file("lines.dat", std::string(BASE_WORDS) + "[adjectives]\n" + c.sLine + "\n");
        WORD_DATABASE words(fixture_db().c_str());
        words.load(sPath.c_str());
        std::vector<std::string> vExpected{"base"};
        vExpected.insert(vExpected.end(), c.vWords.begin(), c.vWords.end());
        EXPECT_EQ(texts(words.l_Adjectives), vExpected) << "line: " << c.sLine.substr(0, 40);
    }
}

TEST_F(WordDatabaseTest, HeadersSetSectionAndValues)
{
    struct CASE
    {
        std::string sHeader;
        int iMin, iMax, iConnections, iStage;
    } cases[] = {
        {"[places][6000][2][1][0]", 6000, 2, 1, 0},
        {"[places] [6000][2][1][0]", 0, 2, 1, 0}, // the blank stands where "[" belongs
        {"[places][7000][3]", 7000, 3, 0, 0},     // missing groups read 0
        {"[places][ -12][+3][x][0] and more", -12, 3, 0, 0},
        {"[places]", 0, 0, 0, 0},
    };
    for (const CASE& c : cases)
    {
        std::string sPath =
            write_file("hdr.dat", std::string(BASE_WORDS) + c.sHeader + "\nTower, Mill\n");
        WORD_DATABASE words(fixture_db().c_str());
        words.load(sPath.c_str());
        ASSERT_EQ(words.l_Places.size(), 2u) << c.sHeader;
        for (WORD* w : words.l_Places)
        {
            EXPECT_EQ(w->iMin, c.iMin) << c.sHeader;
            EXPECT_EQ(w->iMax, c.iMax) << c.sHeader;
            EXPECT_EQ(w->iConnections, c.iConnections) << c.sHeader;
            EXPECT_EQ(w->iStage, c.iStage) << c.sHeader;
        }
        EXPECT_EQ(*words.l_Places.back()->sWord, "Mill");
    }

    std::string sPath = write_file(
        "hdr2.dat",
        std::string(BASE_WORDS) +
            "[dungeons][3][2]\nPit\n[settlements][][5000]\nVillage\n[monsters] x\nrat\n");
    WORD_DATABASE words(fixture_db().c_str());
    words.load(sPath.c_str());
    ASSERT_EQ(words.l_Dungeons.size(), 1u);
    WORD* wPit = words.l_Dungeons.front();
    EXPECT_EQ(std::vector<int>({wPit->iMin, wPit->iMax, wPit->iConnections, wPit->iStage}),
              std::vector<int>({25000, 0, 3, 2}));
    WORD* wVillage = WORD_DATABASE::l_Settlements.back();
    EXPECT_EQ(*wVillage->sWord, "Village");
    EXPECT_EQ(wVillage->iMin, 0);
    EXPECT_EQ(wVillage->iMax, 5000);
    EXPECT_EQ(texts(words.l_Monsters), std::vector<std::string>({"wolf", "rat"}));
}

TEST_F(WordDatabaseTest, WordsOutsideKnownSectionsAreReportedAndFurtherSectionsCounted)
{
    const std::string sPath = (scratch_dir() / "unknown.dat").string();
    const std::string sBefore = "ERROR:  " + sPath + " line 1:  words before the first section "
                                                     "header are dropped.\n";
    auto unknown = [&](int iLine, const std::string& sName) {
        return "ERROR:  " + sPath + " line " + std::to_string(iLine) + ":  section \"" + sName +
               "\" not found; its words are dropped.\n";
    };
    auto more = [&](const std::string& sCount) {
        return "ERROR:  " + sPath + ":  " + sCount + " not found; " +
               (sCount == "1 more section" ? "its words are" : "their words are") + " dropped.\n";
    };
    std::string sGarbled = BASE_WORDS;
    for (int i = 0; i < 60; ++i)
        sGarbled += "[w" + std::to_string(i) + "]\na, b\n[names]\nEd" + std::to_string(i) + "\n";
    struct CASE
    {
        std::string sText;
        std::string sMessages;
    } cases[] = {
        // BASE_WORDS takes lines 2 to 15.
        {"early\n" + std::string(BASE_WORDS) + "[Names]\nAnna, Bo\nCy\n[names\nCyd\n",
         sBefore + unknown(16, "[Names]") + more("1 more section")},
        // Half a million empty words before any header: one message, not one a word.
        {std::string(500000, ',') + "\n" + BASE_WORDS, sBefore},
        // The same unknown header twice is two sections; a header without words says nothing.
        {std::string(BASE_WORDS) + "[x]\na, b\n[names]\nEd\n[x]\nc\n[y]\n",
         unknown(15, "[x]") + more("1 more section")},
        // Sixty unknown sections among good ones: two messages, and the good words kept.
        {sGarbled, unknown(15, "[w0]") + more("59 more sections")},
        // A long name is cut for the message, at a character boundary.
        {std::string(BASE_WORDS) + "[" + std::string(99, 'n') + "\xc3\xa9" + "]\nw\n",
         unknown(15, "[" + std::string(99, 'n') + "...")},
    };
    for (const CASE& c : cases)
    {
        write_file("unknown.dat", c.sText);
        WORD_DATABASE words(fixture_db().c_str());
        std::string sOut = capture_messages([&] { words.load(sPath.c_str()); });
        EXPECT_EQ(sOut, c.sMessages) << c.sText.substr(0, 40);
        EXPECT_EQ(texts(words.l_Names).front(), "Brenna");
    }
    write_file("unknown.dat", "early\n" + std::string(BASE_WORDS) + "[Names]\nAnna, Bo\n");
    WORD_DATABASE words(fixture_db().c_str());
    capture_messages([&] { words.load(sPath.c_str()); });
    EXPECT_EQ(texts(words.l_Names), std::vector<std::string>({"Brenna"}));
    // Counted sections drop their words just the same; the known ones between them keep theirs.
    write_file("unknown.dat", sGarbled);
    WORD_DATABASE wdGarbled(fixture_db().c_str());
    capture_messages([&] { wdGarbled.load(sPath.c_str()); });
    EXPECT_EQ(wdGarbled.l_Names.size(), 61u);
    EXPECT_EQ(texts(wdGarbled.l_Names).back(), "Ed59");
    EXPECT_EQ(wdGarbled.l_Adjectives.size(), 1u);
}

TEST_F(WordDatabaseTest, SettlementsComeFromDatabaseThenFile)
{
    std::string sPath = write_file("settle.dat", std::string(BASE_WORDS) +
                                                     "[settlements][100][5000]\nVillage, Town\n");
    WORD_DATABASE words(fixture_db().c_str());
    words.load(sPath.c_str());
    std::vector<std::string> vKinds;
    for (WORD* w : WORD_DATABASE::l_Settlements)
        vKinds.push_back(*w->sWord + " " + std::to_string(w->iMin) + "-" + std::to_string(w->iMax));
    EXPECT_EQ(vKinds,
              std::vector<std::string>({"Camp 1-0", "Hamlet 10-100", "Town 1000-5000",
                                        "City 5000-20000", "Village 100-5000", "Town 100-5000"}));

    random_seed(7);
    int k = random_next() % 6;
    random_seed(7);
    WORD* wDrawn = words.random_settlement(WORD_DATABASE::l_Settlements);
    EXPECT_EQ(random_draw_count(), 1);
    EXPECT_EQ(wDrawn, *std::next(WORD_DATABASE::l_Settlements.begin(), k));
}

TEST_F(WordDatabaseTest, RandomWordsByCategory)
{
    std::string sPath = write_file("cat.dat", std::string(BASE_WORDS) + "[adjectives]\nred, old\n");
    WORD_DATABASE words(fixture_db().c_str());
    words.load(sPath.c_str());

    const std::pair<int, std::list<std::string*>*> lists[] = {
        {1, &words.l_Adjectives}, {4, &words.l_Names},     {5, &words.l_Titles},
        {6, &words.l_Adverbs},    {7, &words.l_Locations}, {8, &words.l_Regions},
        {9, &words.l_Monsters}};
    for (const auto& entry : lists)
    {
        random_seed(99);
        int k = random_next() % static_cast<int>(entry.second->size());
        random_seed(99);
        std::string* sWord = words.random_word(entry.first, false);
        EXPECT_EQ(random_draw_count(), 1) << entry.first;
        EXPECT_EQ(sWord, *std::next(entry.second->begin(), k)) << entry.first;
    }

    // Capitalising changes the stored word for every later draw.
    std::string* sDuke = words.random_word(5, true);
    EXPECT_EQ(*sDuke, "Duke");
    EXPECT_EQ(*words.random_word(5, false), "Duke");
    EXPECT_EQ(sDuke, words.l_Titles.front());

    for (int iCategory : {3, 0, 11})
    {
        random_seed(1);
        std::string sOut =
            capture_messages([&] { EXPECT_EQ(words.random_word(iCategory, true), nullptr); });
        EXPECT_EQ(sOut, "");
        EXPECT_EQ(random_draw_count(), 0);
    }
    for (int iCategory : {2, 10})
    {
        random_seed(1);
        std::string sOut =
            capture_messages([&] { EXPECT_EQ(words.random_word(iCategory, true), nullptr); });
        EXPECT_EQ(sOut, "goto pull_from_list...we've got a null");
        EXPECT_EQ(random_draw_count(), 0);
    }
}

TEST_F(WordDatabaseTest, CapitaliseAndLookups)
{
    WORD_DATABASE words(fixture_db().c_str());
    std::string sEmpty, sHigh = "\xe9t\xe9", sLower = "mill", sDone = "Mill";
    EXPECT_EQ(words.capitalise(&sEmpty), &sEmpty);
    EXPECT_EQ(sEmpty, "");
    words.capitalise(&sHigh);
    EXPECT_EQ(sHigh, "\xe9t\xe9");
    words.capitalise(&sLower);
    EXPECT_EQ(sLower, "Mill");

    std::list<std::string*> l_List{&sLower, &sDone};
    EXPECT_EQ(words.nth_word(l_List, 1), &sDone);
    EXPECT_EQ(words.nth_word(l_List, 2), nullptr);
    std::string sProbe = "Mill", sOther = "mill";
    EXPECT_EQ(words.find_word(l_List, &sProbe), &sLower);
    EXPECT_EQ(words.find_word(l_List, &sOther), nullptr);
}

TEST_F(WordDatabaseTest, ReserveQualifierRecordsTheStringItself)
{
    WORD_DATABASE words(fixture_db().c_str());
    std::string* sFirst = new std::string("Vale");
    std::string* sSecond = new std::string("Vale");
    EXPECT_FALSE(words.reserve_qualifier(sFirst));
    EXPECT_TRUE(words.reserve_qualifier(sSecond));
    ASSERT_EQ(words.l_Used_qualifiers.size(), 1u);
    EXPECT_EQ(words.l_Used_qualifiers.front(), sFirst);
    // Entries compare by their text at the time of asking.
    *sFirst = "Moor";
    EXPECT_FALSE(words.reserve_qualifier(sSecond));
    words.l_Used_qualifiers.clear();
    delete sFirst;
    delete sSecond;
}

TEST_F(WordDatabaseTest, PlaceQueryTextIsExact)
{
    EXPECT_EQ(
        WORD_DATABASE::place_query_text(10, -120, 45, 3, 99999),
        "SELECT location FROM places WHERE -120 > min AND -120 < max  AND (temperature = 0 OR "
        "(temperature = 1 AND 45 < 40) OR (temperature = 2 AND 45 >= 40 AND 45 <= 95) OR "
        "(temperature = 3 AND 45 > 95)) AND (connection = 0 OR (connection = 1 AND 3 <= 4) "
        "OR (connection = 2 AND 3 > 4) OR (connection = 3 AND 3 <= 2)) AND (stage = 0 OR "
        "(stage = 1 AND 99999 >= 3) OR (stage = 2 AND 99999 >= 6)) AND ((flag = 0 AND "
        "'DUNGEON' = 'PLACE') OR (flag = 1 AND 'DUNGEON' = 'DUNGEON'))");
    std::string sPlace = WORD_DATABASE::place_query_text(2, 1, 2, 3, 4);
    EXPECT_NE(sPlace.find("((flag = 0 AND 'PLACE' = 'PLACE') OR (flag = 1 AND 'PLACE' = "
                          "'DUNGEON'))"),
              std::string::npos);
}

TEST_F(WordDatabaseTest, PlaceQueriesAtBandBorders)
{
    WORD_DATABASE words(fixture_db().c_str());
    struct CASE
    {
        int iCategory, H, T, E, R;
        std::vector<std::string> vWords;
    } cases[] = {
        {2, 4999, 50, 3, 0, {"Reef"}},
        {2, 5000, 50, 3, 0, {}}, // both bounds strict
        {2, 5001, 50, 3, 0, {"Hill"}},
        {10, 5001, 50, 3, 0, {"Crypt"}},
        {10, 4999, 50, 3, 0, {}},
        {2, 13999, 50, 3, 0, {"Hill"}},
        {2, 14000, 50, 3, 0, {}},
        {2, -1, 50, 3, 0, {"Trench"}},
        {2, 20500, 39, 3, 0, {"Cold"}},
        {2, 20500, 40, 3, 0, {"Mild"}},
        {2, 20500, 95, 3, 0, {"Mild"}},
        {2, 20500, 96, 3, 0, {"Hot"}},
        {2, 21500, 50, 2, 0, {"Few", "Lone"}},
        {2, 21500, 50, 3, 0, {"Few"}},
        {2, 21500, 50, 4, 0, {"Few"}},
        {2, 21500, 50, 5, 0, {"Many"}},
        {2, 22500, 50, 3, 2, {"Any"}},
        {2, 22500, 50, 3, 3, {"Any", "Mid"}},
        {2, 22500, 50, 3, 5, {"Any", "Mid"}},
        {2, 22500, 50, 3, 6, {"Any", "Deep", "Mid"}},
        {2, 22500, 50, 3, 99999, {"Any", "Deep", "Mid"}},
    };
    for (const CASE& c : cases)
    {
        // Each case stands alone: a miss is shown once per list.
        words.reset_used();
        random_seed(5);
        std::string* sWord = nullptr;
        std::string sOut = capture_messages(
            [&] { sWord = words.query_place_word(c.iCategory, c.H, c.T, c.E, c.R); });
        const std::string sWhere = "H " + std::to_string(c.H) + " T " + std::to_string(c.T) +
                                   " E " + std::to_string(c.E) + " R " + std::to_string(c.R);
        EXPECT_EQ(sorted(WORD_DATABASE::l_Words), c.vWords) << sWhere;
        if (c.vWords.empty())
        {
            EXPECT_EQ(sWord, nullptr) << sWhere;
            EXPECT_EQ(sOut, "ERROR:  " + fixture_db() + " has no " +
                                (c.iCategory == 10 ? "dungeon word (flag 1)" : "place word (flag 0)") +
                                " for some nodes, which get none.  Keep a word without rules in "
                                "every height band.\n");
            EXPECT_EQ(random_draw_count(), 0) << sWhere;
        }
        else
        {
            EXPECT_EQ(random_draw_count(), 1) << sWhere;
            random_seed(5);
            int k = random_next() % static_cast<int>(WORD_DATABASE::l_Words.size());
            EXPECT_EQ(sWord, &*std::next(WORD_DATABASE::l_Words.begin(), k)) << sWhere;
            EXPECT_EQ(sOut, "");
        }
    }
}

TEST_F(WordDatabaseTest, IconQueryEscapesTheWord)
{
    WORD_DATABASE words(fixture_db().c_str());
    EXPECT_EQ(WORD_DATABASE::image_query_text("Giant's Keep"),
              "SELECT DISTINCT image FROM places WHERE location='Giant''s Keep'");
    EXPECT_EQ(words.query_image("Hill"), 2);
    std::string sOut = capture_messages([&] { EXPECT_EQ(words.query_image("Giant's Keep"), 34); });
    EXPECT_EQ(sOut, "");
    // No row: the previous number stays.
    EXPECT_EQ(words.query_image("Nowhere"), 34);
    EXPECT_EQ(iLast_image, 34);
}

TEST_F(WordDatabaseTest, NullColumnsReadAsEmptyAndFailedStatementsGoOn)
{
    std::string sNull =
        make_db("null.db", "CREATE TABLE places (location TEXT, min INTEGER, max INTEGER, "
                           "temperature INTEGER, connection INTEGER, stage INTEGER, flag "
                           "INTEGER, image INTEGER);"
                           "INSERT INTO places VALUES (NULL, NULL, NULL, 0, 0, 0, 2, NULL);"
                           "INSERT INTO places VALUES (NULL, 0, 9000, 0, 0, 0, 0, 3);");
    {
        WORD_DATABASE words(sNull.c_str());
        ASSERT_EQ(WORD_DATABASE::l_Settlements.size(), 1u);
        EXPECT_EQ(*WORD_DATABASE::l_Settlements.front()->sWord, "");
        EXPECT_EQ(WORD_DATABASE::l_Settlements.front()->iMin, 0);
        std::string* sWord = words.query_place_word(2, 100, 50, 1, 0);
        ASSERT_NE(sWord, nullptr);
        EXPECT_EQ(*sWord, "");
    }

    // The table gone after the start (another program dropped it): the place query shows
    // SQLite's error and goes on without a word.
    const std::string sDropped = make_db("dropped.db", read_text(std::string(ORV_TEST_DATA) + "/words/places.sql"));
    std::string sOut = capture_messages(
        [&]
        {
            WORD_DATABASE words(sDropped.c_str());
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(sDropped.c_str(), &db), SQLITE_OK);
            EXPECT_EQ(sqlite3_exec(db, "DROP TABLE places", nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
            EXPECT_EQ(words.query_place_word(2, 100, 50, 1, 0), nullptr);
        });
    EXPECT_EQ(sOut, "ERROR: SQL error: no such table: places\n"
                    "ERROR:  " + sDropped +
                        " has no place word (flag 0) for some nodes, which get none.  Keep a "
                        "word without rules in every height band.\n");
}

TEST_F(WordDatabaseTest, DumpAdjectivesWritesEachOnItsLine)
{
    std::string sPath = write_file("dump.dat", std::string(BASE_WORDS) + "[adjectives]\nred\n");
    WORD_DATABASE words(fixture_db().c_str());
    words.load(sPath.c_str());
    BITMAP* bmp = make_test_bitmap(100, 40, 0);
    words.dump_adjectives(bmp);
    auto row_has_white = [&](int y0)
    {
        for (int y = y0; y < y0 + 8; ++y)
            for (int x = 10; x < 40; ++x)
                if (getpixel(bmp, x, y) == 0xFFFFFF)
                    return true;
        return false;
    };
    EXPECT_TRUE(row_has_white(0));
    EXPECT_TRUE(row_has_white(10));
    EXPECT_FALSE(row_has_white(20));
    destroy_bitmap(bmp);
}

using WordDatabaseDeathTest = WordDatabaseTest;

TEST_F(WordDatabaseDeathTest, UnusableInputEndsWithCodeOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string sBase_words = write_file("base.dat", BASE_WORDS);
    const std::string sMissing_db = (scratch_dir() / "no_such.db").string();
    EXPECT_EXIT_SAYING(
        {
            WORD_DATABASE words(sMissing_db.c_str());
        },
        1, "ERROR: WORLD::init: Can't open database: .*no_such\\.db: unable to open database file");
    EXPECT_FALSE(fs::exists(sMissing_db));

    const std::string sMissing_file = (scratch_dir() / "no_such.dat").string();
    EXPECT_EXIT_SAYING(
        {
            WORD_DATABASE words(fixture_db().c_str());
            words.load(sMissing_file.c_str());
        },
        1,
        "unable to open [^\\n]*no_such\\.dat for input\\.$");

    std::string sShort =
        write_file("short.dat", "[adjectives]\nred\n[names]\nAnna\n[regions]\nfen\n");
    EXPECT_EXIT_SAYING(
        {
            WORD_DATABASE words(fixture_db().c_str());
            words.load(sShort.c_str());
        },
        1,
        "holds no words in \\[titles\\], \\[adverbs\\], \\[locations\\], \\[monsters\\]");

    // Text Allegro's message routines cannot take ends loading, naming file and line.
    const std::pair<std::string, int> l_Malformed[] = {
        {"[\xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8]\nx\n", 1},
        {std::string(BASE_WORDS) + "[adjectives]\nred, \xfd\xa9\xa9\xa9\xa9\xa9\xb8\xb8\n", 16},
        {"\n\n\xfe\xa9\xa9\xa9\xa9\xa9\xb8\xb8\n" + std::string(BASE_WORDS), 3},
        {"# \xc3\n", 1},       // cut short
        {"\xc0\x80\n", 1},     // overlong
        {"\xed\xa0\x80\n", 1}, // surrogate
    };
    for (const auto& k : l_Malformed)
    {
        const std::string sPath = write_file("malformed.dat", k.first);
        EXPECT_EXIT_SAYING(
            {
                WORD_DATABASE words(fixture_db().c_str());
                words.load(sPath.c_str());
            },
            1, "ERROR:  .*malformed\\.dat line " + std::to_string(k.second) + " is not UTF-8 text\\.")
            << k.second;
    }

    // A words.db that opens but cannot be read with the columns the queries name: one
    // message naming the file, where the settlement query's error was followed by a wrong
    // cause (no settlement kinds) or every node's failing query.
    const std::string sGood = fixture_db();
    const std::string sTable = "CREATE TABLE places (location TEXT, min INTEGER, max INTEGER, temperature "
                               "INTEGER, connection INTEGER, stage INTEGER, flag INTEGER";
    struct BROKEN
    {
        const char* sName;
        std::function<void(const std::string&)> make;
        const char* sError;
    } a_Broken[] = {
        {"noise.db",
         [](const std::string& sPath) {
             std::string sNoise;
             for (int i = 0; i < 3000; ++i)
                 sNoise += static_cast<char>((i * 131 + 7) % 251);
             std::ofstream(sPath, std::ios::binary) << sNoise;
         },
         "file is not a database"},
        {"empty.db", [](const std::string& sPath) { std::ofstream(sPath, std::ios::binary); }, "no such table: places"},
        {"half.db",
         [&](const std::string& sPath) {
             fs::copy_file(sGood, sPath, fs::copy_options::overwrite_existing);
             fs::resize_file(sPath, fs::file_size(sPath) / 2);
         },
         "database disk image is malformed"},
        {"other.db", [](const std::string& sPath) { make_database(sPath, "CREATE TABLE other (x INTEGER);"); },
         "no such table: places"},
        {"no_image.db", [&](const std::string& sPath) { make_database(sPath, sTable + ");"); },
         "no such column: image"},
    };
    for (const BROKEN& b : a_Broken)
    {
        const std::string sPath = (scratch_dir() / b.sName).string();
        fs::remove(sPath);
        b.make(sPath);
        EXPECT_EXIT_SAYING(
            {
                WORD_DATABASE words(sPath.c_str());
                words.load(sBase_words.c_str());
            },
            1, std::string("^ERROR: WORLD::init: Can't read database: [^\n]*/") + b.sName + ": " + b.sError + "\n+$")
            << b.sName;
    }

    std::string sNo_kinds =
        make_db("no_kinds.db", "CREATE TABLE places (location TEXT, min INTEGER, "
                               "max INTEGER, temperature INTEGER, connection "
                               "INTEGER, stage INTEGER, flag INTEGER, image "
                               "INTEGER);");
    EXPECT_EXIT_SAYING(
        {
            WORD_DATABASE words(sNo_kinds.c_str());
            words.load(sBase_words.c_str());
        },
        1,
        "^ERROR:  No settlement kinds:  [^\n]*/base\\.dat has no words in \\[settlements\\] and "
        "[^\n]*/no_kinds\\.db has no rows with flag 2\\.\n+$");
    // The database is named as it was given, as every other message names it.
    EXPECT_EXIT_SAYING(
        {
            const std::string sRelative = fs::relative(sNo_kinds).string();
            WORD_DATABASE words(sRelative.c_str());
            words.load(sBase_words.c_str());
        },
        1, "and \\.\\./[^\n]*no_kinds\\.db has no rows");
}

TEST_F(WordDatabaseTest, ADatabaseWithoutPlaceWordsShowsOneMessageAList)
{
    // Only settlement kinds: no node finds a place or a dungeon word.
    const std::string sKinds =
        make_db("kinds_only.db", "CREATE TABLE places (location TEXT, min INTEGER, max INTEGER, "
                                 "temperature INTEGER, connection INTEGER, stage INTEGER, flag "
                                 "INTEGER, image INTEGER);"
                                 "INSERT INTO places VALUES ('Hamlet', 10, 100, 0, 0, 0, 2, 11);");
    WORD_DATABASE words(sKinds.c_str());
    auto no_word = [&](const char* sKind) {
        return "ERROR:  " + sKinds + " has no " + sKind +
               " for some nodes, which get none.  Keep a word without rules in every height "
               "band.\n";
    };
    random_seed(1);
    const std::string sShown = capture_messages([&] {
        for (int H : {-200, 4000, 6000, 12000, 24000})
            for (int iCategory : {2, 10, 2})
                EXPECT_EQ(words.query_place_word(iCategory, H, 50, 3, 1), nullptr);
    });
    EXPECT_EQ(sShown, no_word("place word (flag 0)") + no_word("dungeon word (flag 1)"));
    EXPECT_EQ(random_draw_count(), 0);

    // A fresh start for a new map shows them again.
    words.reset_used();
    EXPECT_EQ(capture_messages([&] { words.query_place_word(10, 6000, 50, 3, 1); }),
              no_word("dungeon word (flag 1)"));
}
