// Checks the data tree as built (build/shipped_run/data, which run/ is copied from) that every
// start of the game reads: the word and calendar files parse, the place and dungeon queries
// always find a word, a weather condition always fits, and every icon number has its picture.
#include <allegro.h>
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/colours.h"
#include "framework/word_file_reader.h"
#include "world/save_database.h"
#include "world/weather/weather_condition.h"
#include "world/words/word_database.h"
#include "world/world.h"

namespace
{
const std::string sData = std::string(ORV_RUN_DIR) + "/data/";

// One list line of words.dat and calendars.dat, split as the game's reader splits it.
std::vector<std::string> split_words(const std::string& sLine)
{
    std::vector<std::string> l_Words;
    WORD_FILE_READER::split_words(sLine, [&](const std::string& sWord) { l_Words.push_back(sWord); });
    return l_Words;
}

struct TEXT_LINE
{
    int iNumber;
    std::string sText;
};

// Lines as the game reads them: the line feed and a carriage return before it are no part of
// the line, empty lines are skipped.
std::vector<TEXT_LINE> read_lines(const std::string& sPath)
{
    std::vector<TEXT_LINE> l_Lines;
    std::ifstream fs_Read(sPath);
    EXPECT_TRUE(fs_Read.good()) << "cannot open " << sPath;
    std::string sLine;
    int iNumber = 0;
    while (std::getline(fs_Read, sLine))
    {
        ++iNumber;
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        EXPECT_LE(sLine.size(), 1999u) << sPath << " line " << iNumber << " is too long";
        if (!sLine.empty())
            l_Lines.push_back({iNumber, sLine});
    }
    return l_Lines;
}

// words.dat: section name (with its brackets) to its words, in file order.
std::map<std::string, std::vector<std::string>> parse_word_file(const std::string& sPath)
{
    std::map<std::string, std::vector<std::string>> m_Sections;
    std::string sSection;
    for (const TEXT_LINE& line : read_lines(sPath))
    {
        if (line.sText[0] == '[')
        {
            const size_t iEnd = line.sText.find(']');
            EXPECT_NE(iEnd, std::string::npos) << "line " << line.iNumber;
            sSection = line.sText.substr(0, iEnd + 1);
            continue;
        }
        EXPECT_FALSE(sSection.empty()) << "words before the first header, line " << line.iNumber;
        for (const std::string& sWord : split_words(line.sText))
            m_Sections[sSection].push_back(sWord);
    }
    return m_Sections;
}

bool is_plain_word(const std::string& sWord)
{
    if (sWord.empty() || !std::isupper((unsigned char)sWord[0]) || sWord.back() == ' ' || sWord.back() == '-')
        return false;
    for (char c : sWord)
        if (!std::isalpha((unsigned char)c) && c != ' ' && c != '-')
            return false;
    return true;
}

std::string lower(std::string s)
{
    for (char& c : s)
        c = (char)std::tolower((unsigned char)c);
    return s;
}

TEST(ContentWords, EveryListParsesWithEnoughDistinctPlainWords)
{
    const auto m_Sections = parse_word_file(sData + "words.dat");
    const std::map<std::string, size_t> m_Minimum = {
        {"[adjectives]", 36}, {"[names]", 36},      {"[titles]", 36},  {"[adverbs]", 36},
        {"[locations]", 2000}, {"[monsters]", 36}, {"[regions]", 500}};
    for (const auto& section : m_Sections)
        EXPECT_TRUE(m_Minimum.count(section.first)) << "unknown section " << section.first;

    std::map<std::string, std::string> m_Owner; // lower-case word to its section
    for (const auto& want : m_Minimum)
    {
        ASSERT_TRUE(m_Sections.count(want.first)) << want.first << " is missing";
        const std::vector<std::string>& l_Words = m_Sections.at(want.first);
        std::set<std::string> s_Distinct;
        for (const std::string& sWord : l_Words)
        {
            EXPECT_TRUE(is_plain_word(sWord)) << want.first << " word '" << sWord << "'";
            const std::string sKey = lower(sWord);
            EXPECT_TRUE(s_Distinct.insert(sKey).second) << want.first << " repeats '" << sWord << "'";
            const auto it_x = m_Owner.find(sKey);
            if (it_x != m_Owner.end() && it_x->second != want.first)
                ADD_FAILURE() << "'" << sWord << "' stands in " << it_x->second << " and " << want.first;
            m_Owner[sKey] = want.first;
        }
        EXPECT_GE(s_Distinct.size(), want.second) << want.first;
    }
    // Owner parts add the plural "s" themselves.
    for (const std::string& sWord : m_Sections.at("[monsters]"))
        EXPECT_NE(sWord.back(), 's') << "monster word '" << sWord << "' looks plural";
}

// calendars.dat, read by its own grammar.
struct MONTH_ENTRY
{
    std::string sName;
    int iDays;
};
struct CALENDAR_ENTRY
{
    std::vector<MONTH_ENTRY> l_Months;
    std::vector<MONTH_ENTRY> l_Seasons;
    std::vector<std::string> l_Weekdays;
    std::vector<std::string> l_Weekends;
};

bool is_number(const std::string& sWord)
{
    size_t i = 0;
    while (i < sWord.size() && sWord[i] == ' ')
        ++i;
    if (i == sWord.size())
        return false;
    for (; i < sWord.size(); ++i)
        if (!std::isdigit((unsigned char)sWord[i]))
            return false;
    return true;
}

TEST(ContentCalendars, TwoOrMoreCompleteCalendars)
{
    std::map<std::string, CALENDAR_ENTRY> m_Calendars;
    CALENDAR_ENTRY* pCurrent = nullptr;
    std::string sSection;
    bool bExpect_name = true; // one switch for the whole file
    MONTH_ENTRY mPending;
    for (const TEXT_LINE& line : read_lines(sData + "calendars.dat"))
    {
        if (line.sText[0] == '[')
        {
            const size_t iFirst = line.sText.find(']');
            ASSERT_NE(iFirst, std::string::npos) << "line " << line.iNumber;
            ASSERT_EQ(line.sText[iFirst + 1], '[') << "line " << line.iNumber;
            const size_t iSecond = line.sText.find(']', iFirst + 1);
            ASSERT_NE(iSecond, std::string::npos) << "line " << line.iNumber;
            pCurrent = &m_Calendars[line.sText.substr(1, iFirst - 1)];
            sSection = line.sText.substr(iFirst + 2, iSecond - iFirst - 2);
            EXPECT_TRUE(sSection == "months" || sSection == "seasons" || sSection == "weekdays" ||
                        sSection == "weekends")
                << "line " << line.iNumber << " section " << sSection;
            continue;
        }
        ASSERT_NE(pCurrent, nullptr) << "words before the first header";
        EXPECT_NE(line.sText.back(), ',') << "line " << line.iNumber << " ends in a bare comma";
        for (const std::string& sWord : split_words(line.sText))
        {
            EXPECT_FALSE(sWord.empty()) << "line " << line.iNumber;
            if (sSection == "weekdays")
                pCurrent->l_Weekdays.push_back(sWord);
            else if (sSection == "weekends")
                pCurrent->l_Weekends.push_back(sWord);
            else if (bExpect_name)
            {
                EXPECT_FALSE(is_number(sWord)) << "line " << line.iNumber << ": a name was due, not " << sWord;
                mPending = {sWord, 0};
                bExpect_name = false;
            }
            else
            {
                EXPECT_TRUE(is_number(sWord)) << "line " << line.iNumber << ": a number was due, not " << sWord;
                mPending.iDays = std::atoi(sWord.c_str());
                (sSection == "months" ? pCurrent->l_Months : pCurrent->l_Seasons).push_back(mPending);
                bExpect_name = true;
            }
        }
    }
    EXPECT_TRUE(bExpect_name) << "the file ends on a name without its number";
    EXPECT_GE(m_Calendars.size(), 2u);
    for (const auto& cal : m_Calendars)
    {
        const CALENDAR_ENTRY& c = cal.second;
        EXPECT_FALSE(c.l_Months.empty()) << cal.first;
        EXPECT_FALSE(c.l_Weekdays.empty()) << cal.first;
        EXPECT_FALSE(c.l_Weekends.empty()) << cal.first;
        std::map<std::string, int> m_Days;
        for (const MONTH_ENTRY& m : c.l_Months)
        {
            EXPECT_GE(m.iDays, 1) << cal.first << " " << m.sName;
            EXPECT_TRUE(m_Days.emplace(m.sName, m.iDays).second) << cal.first << " repeats " << m.sName;
        }
        ASSERT_EQ(c.l_Seasons.size(), 4u) << cal.first;
        for (const MONTH_ENTRY& s : c.l_Seasons)
        {
            ASSERT_TRUE(m_Days.count(s.sName)) << cal.first << ": season change in unknown month " << s.sName;
            EXPECT_GE(s.iDays, 1) << cal.first << " " << s.sName;
            EXPECT_LE(s.iDays, m_Days[s.sName]) << cal.first << " " << s.sName;
        }
    }
}

// --- words.db ---------------------------------------------------------------------------------

class DATABASE
{
public:
    explicit DATABASE(const std::string& sPath)
    {
        EXPECT_EQ(sqlite3_open_v2(sPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK) << sPath;
    }
    ~DATABASE() { sqlite3_close(db); }
    DATABASE(const DATABASE&) = delete;
    DATABASE& operator=(const DATABASE&) = delete;

    // Rows as texts, through sqlite3_exec as the game runs its statements.
    std::vector<std::vector<std::string>> rows(const std::string& sSql) const
    {
        std::vector<std::vector<std::string>> l_Rows;
        char* zErrMsg = nullptr;
        const int iResult = sqlite3_exec(
            db, sSql.c_str(),
            [](void* pRows, int argc, char** argv, char**) {
                std::vector<std::string> l_Row;
                for (int i = 0; i < argc; ++i)
                    l_Row.push_back(argv[i] ? argv[i] : "");
                static_cast<std::vector<std::vector<std::string>>*>(pRows)->push_back(l_Row);
                return 0;
            },
            &l_Rows, &zErrMsg);
        EXPECT_EQ(iResult, SQLITE_OK) << (zErrMsg ? zErrMsg : "") << " in " << sSql;
        sqlite3_free(zErrMsg);
        return l_Rows;
    }

    // A statement with the game's own row callback.
    void exec(const char* sSql, int (*callback)(void*, int, char**, char**)) const
    {
        char* zErrMsg = nullptr;
        const int iResult = sqlite3_exec(db, sSql, callback, nullptr, &zErrMsg);
        EXPECT_EQ(iResult, SQLITE_OK) << (zErrMsg ? zErrMsg : "") << " in " << sSql;
        sqlite3_free(zErrMsg);
    }

private:
    sqlite3* db = nullptr;
};

// Every height where the set of fitting rows can change, plus the ends.
std::vector<int> height_grid(const DATABASE& db, int iLow, int iHigh)
{
    std::set<int> s_Heights = {iLow, iHigh, (iLow + iHigh) / 2};
    for (const auto& row : db.rows("SELECT DISTINCT min FROM places WHERE flag < 2 UNION SELECT DISTINCT max "
                                   "FROM places WHERE flag < 2"))
    {
        const int v = std::atoi(row[0].c_str());
        for (int d = -1; d <= 1; ++d)
            if (v + d >= iLow && v + d <= iHigh)
                s_Heights.insert(v + d);
    }
    return std::vector<int>(s_Heights.begin(), s_Heights.end());
}

void expect_query_always_fits(bool bDungeon, int iLow, int iHigh)
{
    DATABASE db(sData + "words.db");
    const std::vector<int> l_Heights = height_grid(db, iLow, iHigh);
    const std::vector<int> l_Temperatures = {-300, 0, 39, 40, 41, 70, 95, 96, 320};
    const std::vector<int> l_Edges = {0, 1, 2, 3, 4, 5, 6, 20};
    const std::vector<int> l_Ranks = {0, 1, 2, 3, 5, 6, 7, 99999};
    int iMisses = 0;
    for (int h : l_Heights)
        for (int t : l_Temperatures)
            for (int e : l_Edges)
                for (int r : l_Ranks)
                    if (db.rows(WORD_DATABASE::place_query_text(bDungeon ? 10 : 2, h, t, e, r)).empty() &&
                        ++iMisses <= 10)
                        ADD_FAILURE() << (bDungeon ? "dungeon" : "place") << " query finds nothing for height " << h
                                      << ", temperature " << t << ", edges " << e << ", rank " << r;
    EXPECT_EQ(iMisses, 0);
}

TEST(ContentPlaces, PlaceQueryFindsAWordEverywhere) { expect_query_always_fits(false, -25000, 25000); }

TEST(ContentPlaces, DungeonQueryFindsAWordOnAllLand) { expect_query_always_fits(true, 5001, 25000); }

TEST(ContentPlaces, TableShapeAndWords)
{
    DATABASE db(sData + "words.db");
    const auto l_Columns = db.rows("PRAGMA table_info(places)");
    ASSERT_GE(l_Columns.size(), 8u);
    const std::vector<std::string> l_Names = {"location", "min", "max"};
    for (size_t i = 0; i < l_Names.size(); ++i)
        EXPECT_EQ(l_Columns[i][1], l_Names[i]);
    for (const auto& col : l_Columns)
    {
        if (col[1] != "location")
        {
            EXPECT_EQ(col[2], "INTEGER") << col[1];
        }
    }

    // One image and one flag per word; every word capitalised and safe to quote into SQL.
    for (const auto& row :
         db.rows("SELECT location, COUNT(DISTINCT image), COUNT(DISTINCT flag) FROM places GROUP BY location"))
    {
        EXPECT_TRUE(is_plain_word(row[0])) << "'" << row[0] << "'";
        for (size_t i = row[0].find(' '); i != std::string::npos; i = row[0].find(' ', i + 1))
            EXPECT_TRUE(i + 1 < row[0].size() && std::isupper((unsigned char)row[0][i + 1])) << "'" << row[0] << "'";
        EXPECT_EQ(row[1], "1") << row[0] << " has more than one image";
        EXPECT_EQ(row[2], "1") << row[0] << " stands under more than one flag";
    }

    const auto l_Settlements = db.rows("SELECT location, min, max FROM places WHERE flag = 2 ORDER BY min");
    ASSERT_GE(l_Settlements.size(), 3u);
    EXPECT_EQ(l_Settlements.front()[0], "Hamlet");
    EXPECT_EQ(l_Settlements.back()[0], "City");
    for (const auto& row : l_Settlements)
    {
        EXPECT_GT(std::atoi(row[1].c_str()), 0) << row[0];
        EXPECT_GT(std::atoi(row[2].c_str()), std::atoi(row[1].c_str())) << row[0];
    }

    // Each rule is in use for places and for dungeons, so climate, crossroads and rank show.
    for (const char* pFlag : {"0", "1"})
        for (const char* pRule : {"temperature = 1", "temperature = 2", "temperature = 3", "connection = 2",
                                  "connection = 3", "stage = 1", "stage = 2"})
            EXPECT_FALSE(db.rows(std::string("SELECT 1 FROM places WHERE flag = ") + pFlag + " AND " + pRule).empty())
                << "no row with flag " << pFlag << " and " << pRule;
}

// --- wc.db ------------------------------------------------------------------------------------

enum class GROUND
{
    DESERT,
    OTHER,
    NONE
};

// The rows as the game reads them, with its 0 and 100 rules.
std::vector<WEATHER_CONDITION> load_conditions()
{
    DATABASE db(sData + "wc.db");
    db.exec("SELECT * FROM wc", WORLD::load_weather_condition);
    std::vector<WEATHER_CONDITION> l_Conditions;
    for (WEATHER_CONDITION* wcCondition : weather_conditions)
        l_Conditions.push_back(*wcCondition);
    clear_weather_conditions();
    return l_Conditions;
}

// The game's matching rule; no cell counts as not desert.
bool fits(const WEATHER_CONDITION& c, float a, float b, float t, GROUND g)
{
    return c.fits(a, b, t, g == GROUND::DESERT);
}

// Every bound inside [low, high], the points halfway between neighbouring bounds, and the ends:
// between two bounds nothing changes, so these points cover every real value.
std::vector<float> value_grid(std::set<int> s_Bounds, int iLow, int iHigh)
{
    s_Bounds.insert(iLow);
    s_Bounds.insert(iHigh);
    std::vector<float> l_Values;
    int iPrevious = iLow;
    for (int v : s_Bounds)
    {
        if (v < iLow || v > iHigh)
            continue;
        if (v > iPrevious)
            l_Values.push_back((iPrevious + v) / 2.0f);
        l_Values.push_back((float)v);
        iPrevious = v;
    }
    return l_Values;
}

TEST(ContentWeather, TableReadsAsTheGameReadsIt)
{
    DATABASE db(sData + "wc.db");
    EXPECT_GE(db.rows("PRAGMA table_info(wc)").size(), 9u);
    const std::vector<WEATHER_CONDITION> l_Conditions = load_conditions();
    ASSERT_FALSE(l_Conditions.empty());
    for (const WEATHER_CONDITION& c : l_Conditions)
    {
        EXPECT_FALSE(c.sName.empty());
        EXPECT_TRUE(c.iRule == 0 || c.iRule == 1 || c.iRule == 2) << c.sName;
        EXPECT_LE(c.iA_min, c.iA_max) << c.sName;
        EXPECT_LE(c.iB_min, c.iB_max) << c.sName;
        EXPECT_LE(c.iT_min, c.iT_max) << c.sName << " (after the 0 and 100 rules)";
    }
}

TEST(ContentWeather, SomeConditionFitsEveryWeather)
{
    const std::vector<WEATHER_CONDITION> l_Conditions = load_conditions();
    std::set<int> s_A, s_B, s_T;
    for (const WEATHER_CONDITION& c : l_Conditions)
    {
        s_A.insert({c.iA_min, c.iA_max});
        s_B.insert({c.iB_min, c.iB_max});
        s_T.insert({c.iT_min, c.iT_max});
    }
    const std::vector<float> l_A = value_grid(s_A, 0, 100), l_B = value_grid(s_B, 0, 100),
                             l_T = value_grid(s_T, -300, 320);
    int iMisses = 0;
    for (GROUND g : {GROUND::DESERT, GROUND::OTHER, GROUND::NONE})
        for (float a : l_A)
            for (float b : l_B)
                for (float t : l_T)
                {
                    const bool bAny = std::any_of(l_Conditions.begin(), l_Conditions.end(),
                                                  [&](const WEATHER_CONDITION& c) { return fits(c, a, b, t, g); });
                    if (!bAny && ++iMisses <= 10)
                        ADD_FAILURE() << "no condition for A " << a << ", B " << b << ", " << t << " F, ground "
                                      << (int)g;
                }
    EXPECT_EQ(iMisses, 0);
}

TEST(ContentWeather, MatchingRulesOfTheReader)
{
    // The bounds and the ground cases of the rule the coverage above is measured with, on rows
    // made here.
    const WEATHER_CONDITION cOpen_low{"x", 0, 100, 0, 100, -1000, 50, 0, 0};
    EXPECT_TRUE(fits(cOpen_low, 0, 100, -999, GROUND::NONE));
    const WEATHER_CONDITION cDesert{"x", 0, 100, 0, 100, -1000, 1000, 1, 0};
    EXPECT_TRUE(fits(cDesert, 50, 50, 0, GROUND::DESERT));
    EXPECT_FALSE(fits(cDesert, 50, 50, 0, GROUND::OTHER));
    EXPECT_FALSE(fits(cDesert, 50, 50, 0, GROUND::NONE));
    const WEATHER_CONDITION cNot_desert{"x", 0, 100, 0, 100, -1000, 1000, 2, 0};
    EXPECT_FALSE(fits(cNot_desert, 50, 50, 0, GROUND::DESERT));
    EXPECT_TRUE(fits(cNot_desert, 50, 50, 0, GROUND::NONE));
    EXPECT_FALSE(fits(WEATHER_CONDITION{"x", 0, 100, 0, 100, -1000, 1000, 3, 0}, 50, 50, 0, GROUND::NONE));
}

TEST(ContentWeather, Flavour)
{
    const std::vector<WEATHER_CONDITION> l_Conditions = load_conditions();
    auto names_for = [&](float a, float b, float t, GROUND g) {
        std::set<std::string> s_Names;
        for (const WEATHER_CONDITION& c : l_Conditions)
            if (fits(c, a, b, t, g))
                s_Names.insert(c.sName);
        return s_Names;
    };
    EXPECT_TRUE(names_for(90, 90, 10, GROUND::OTHER).count("Blizzard"));
    EXPECT_TRUE(names_for(40, 70, 110, GROUND::DESERT).count("Sandstorm"));
    EXPECT_FALSE(names_for(40, 70, 110, GROUND::OTHER).count("Sandstorm"));
    EXPECT_FALSE(names_for(40, 70, 110, GROUND::NONE).count("Sandstorm"));
    EXPECT_TRUE(names_for(50, 10, 50, GROUND::OTHER).count("Fog"));
    EXPECT_TRUE(names_for(10, 10, 99, GROUND::OTHER).count("Heat Haze"));
    EXPECT_TRUE(names_for(70, 10, 60, GROUND::OTHER).count("Rain"));
    EXPECT_TRUE(names_for(95, 10, 70, GROUND::NONE).count("Thunderstorm"));
    for (const WEATHER_CONDITION& c : l_Conditions)
    {
        if (c.sName.rfind("Sand", 0) == 0 || c.sName.rfind("Dust", 0) == 0)
        {
            EXPECT_EQ(c.iRule, 1) << c.sName << " outside deserts";
        }
        if (c.sName.find("Snow") != std::string::npos || c.sName.find("Blizzard") != std::string::npos)
        {
            EXPECT_LE(c.iT_max, 40) << c.sName << " when warm";
        }
    }
}

// --- images -----------------------------------------------------------------------------------

bool tile_is_empty(BITMAP* bmp, int x0, int y0, int w, int h)
{
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (getpixel(bmp, x, y) != MAGENTA)
                return false;
    return true;
}

// The header of a BMP that Allegro wrote: Windows 3.x info header, 24 bits a pixel, no compression.
void expect_windows_bmp(const std::string& sPath)
{
    std::ifstream fs_Read(sPath, std::ios::binary);
    unsigned char header[54] = {};
    fs_Read.read(reinterpret_cast<char*>(header), sizeof header);
    ASSERT_TRUE(fs_Read.good()) << sPath;
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    EXPECT_EQ(header[14] | header[15] << 8, 40) << sPath << ": info header size";
    EXPECT_EQ(header[28] | header[29] << 8, 24) << sPath << ": bits a pixel";
    EXPECT_EQ(header[30], 0) << sPath << ": compression";
}

TEST(ContentImages, EveryIconNumberHasATile)
{
    BITMAP* bmp = load_bitmap((sData + "images/Nodes.pcx").c_str(), nullptr);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->w, 640);
    EXPECT_EQ(bmp->h % 64, 0);
    EXPECT_FALSE(tile_is_empty(bmp, 0, 0, 64, 64)) << "the fallback tile 0 is empty";
    EXPECT_EQ(getpixel(bmp, 0, 0), MAGENTA) << "tile corners are transparent";

    DATABASE db(sData + "words.db");
    const auto l_Images = db.rows("SELECT DISTINCT image FROM places");
    ASSERT_FALSE(l_Images.empty());
    for (const auto& row : l_Images)
    {
        const int n = std::atoi(row[0].c_str());
        const int x = (n % 10) * 64, y = (n / 10) * 64;
        EXPECT_GE(n, 0);
        ASSERT_LE(y + 64, bmp->h) << "icon " << n << " lies below the sheet";
        EXPECT_FALSE(tile_is_empty(bmp, x, y, 64, 64)) << "icon " << n << " is empty";
        EXPECT_EQ(getpixel(bmp, x, y), MAGENTA) << "icon " << n << " has no transparent corner";
    }
    destroy_bitmap(bmp);
}

TEST(ContentImages, BadgesAndTraveller)
{
    const std::string sBadges = sData + "images/significant_locations.bmp";
    const std::string sSmiley = sData + "images/smiley.bmp";
    expect_windows_bmp(sBadges);
    expect_windows_bmp(sSmiley);

    BITMAP* bmp = load_bitmap(sBadges.c_str(), nullptr);
    ASSERT_NE(bmp, nullptr);
    EXPECT_GE(bmp->w, 96);
    EXPECT_GE(bmp->h, 32);
    EXPECT_FALSE(tile_is_empty(bmp, 32, 0, 32, 32)) << "start badge";
    EXPECT_FALSE(tile_is_empty(bmp, 64, 0, 32, 32)) << "end-of-game badge";
    destroy_bitmap(bmp);

    bmp = load_bitmap(sSmiley.c_str(), nullptr);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->w, 16);
    EXPECT_EQ(bmp->h, 16);
    EXPECT_EQ(getpixel(bmp, 0, 0), MAGENTA);
    EXPECT_NE(getpixel(bmp, 8, 8), MAGENTA);
    destroy_bitmap(bmp);
}
}
