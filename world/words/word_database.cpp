#include "world/words/word_database.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/colours.h"
#include "framework/helpers.h"
#include "framework/random.h"
#include "framework/word_file_reader.h"
#include "world/map/node.h"


int iLast_image = 0;

std::list<WORD*> WORD_DATABASE::l_Settlements;
std::list<std::string> WORD_DATABASE::l_Words;

namespace
{
WORD_DATABASE* wdInstance = nullptr;
// Every column the place, settlement and icon queries name, so that a table without one of
// them fails at the start instead of at every node.
constexpr char WORDS_DB_CHECK_SQL[] =
    "SELECT location, min, max, temperature, connection, stage, flag, image FROM places WHERE 0";
// The settlement kinds outlive every word database; they are freed when the list goes at exit.
struct RELEASE_SETTLEMENTS
{
    ~RELEASE_SETTLEMENTS() { delete_all(WORD_DATABASE::l_Settlements); }
} release_settlements;

// The word lists by category and section, in the order the lists are reported.
struct WORD_LIST
{
    int iCategory;
    const char* sSection;
    std::list<std::string*> WORD_DATABASE::*pList;
};
const WORD_LIST WORD_LISTS[] = {
    {WORDS_ADJECTIVE, "[adjectives]", &WORD_DATABASE::l_Adjectives},
    {WORDS_NAME, "[names]", &WORD_DATABASE::l_Names},
    {WORDS_TITLE, "[titles]", &WORD_DATABASE::l_Titles},
    {WORDS_ADVERB, "[adverbs]", &WORD_DATABASE::l_Adverbs},
    {WORDS_LOCATION, "[locations]", &WORD_DATABASE::l_Locations},
    {WORDS_REGION, "[regions]", &WORD_DATABASE::l_Regions},
    {WORDS_MONSTER, "[monsters]", &WORD_DATABASE::l_Monsters}};

const WORD_LIST* find_list(int iCategory)
{
    for (const WORD_LIST& entry : WORD_LISTS)
        if (entry.iCategory == iCategory)
            return &entry;
    return nullptr;
}

void capitalise_text(std::string& s)
{
    if (!s.empty())
        s[0] = static_cast<char>(toupper(static_cast<unsigned char>(s[0])));
}

std::string capitalised(std::string s)
{
    capitalise_text(s);
    return s;
}
}

WORD_DATABASE* WORD_DATABASE::instance()
{
    if (!wdInstance)
        wdInstance = new WORD_DATABASE();
    return wdInstance;
}

WORD_DATABASE* WORD_DATABASE::existing()
{
    return wdInstance;
}

WORD_DATABASE::WORD_DATABASE(const char* sDb_path) : dbWords(nullptr), sDb_file(sDb_path)
{
    open_database(sDb_path);
    // The file opens even when it is no database or lacks the table: read it here, where a
    // failure ends the start naming the file, instead of failing every node's query later.
    exec_or_exit(dbWords, "WORLD::init", sDb_path, "Can't read database", WORDS_DB_CHECK_SQL);
    exec_or_exit(dbWords, "WORLD::init", sDb_path, "Can't read database",
                 "SELECT * FROM places WHERE flag = 2 ORDER BY min", load_settlement_row);
}

WORD_DATABASE::~WORD_DATABASE()
{
    for (const WORD_LIST& entry : WORD_LISTS)
        delete_all(this->*entry.pList);
    reset_used();
    for (auto* l_List : {&l_Places, &l_Dungeons, &l_Settlements})
        delete_all(*l_List);
    sqlite3_close(dbWords);
}

void WORD_DATABASE::open_database(const char* sDb_path)
{
    // Read only: a missing file must fail here rather than turn into a new empty database.
    if (sqlite3_open_v2(sDb_path, &dbWords, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        exit_on_open_failure(dbWords, "WORLD::init", sDb_path);
}

int WORD_DATABASE::load_settlement_row(void*, int iColumns, char** sValues, char**)
{
    l_Settlements.push_back(new WORD(atoi(column_text(iColumns, sValues, 1)),
                                     atoi(column_text(iColumns, sValues, 2)), 0, 0,
                                     column_text(iColumns, sValues, 0)));
    return 0;
}

const char* WORD_DATABASE::parse_header_value(const char* sText, int& iValue)
{
    // A group is "[", a number, "]". A missing group reads 0.
    if (*sText == '\0')
    {
        iValue = 0;
        return sText;
    }
    ++sText;
    const char* sEnd = std::strchr(sText, ']');
    if (!sEnd)
        sEnd = sText + std::strlen(sText);
    iValue = WORD_FILE_READER::read_int(std::string(sText, sEnd));
    return *sEnd == ']' ? sEnd + 1 : sEnd;
}

void WORD_DATABASE::load(const char* sPath)
{
    std::string sProblem = read_file(sPath);
    if (sProblem.empty())
        sProblem = check_lists(sPath);
    if (sProblem.empty())
        return;
    fatal_exit(FAILURE_EXIT_CODE, false, {sProblem});
}

std::string WORD_DATABASE::read_file(const char* sPath)
{
    sWord_file = sPath;
    WORD_FILE_READER reader(sPath);
    std::string sType;
    int iValues[4] = {0, 0, 0, 0};

    std::string sLine;
    while (reader.next_line(sLine))
    {
        if (sLine[0] == '[')
        {
            size_t iClose = sLine.find(']');
            sType = sLine.substr(0, iClose == std::string::npos ? std::string::npos : iClose + 1);
            int iGroups = 0;
            if (sType == "[places]")
                iGroups = 4;
            else if (sType == "[dungeons]" || sType == "[settlements]")
                iGroups = 2;
            const char* sGroup = sLine.c_str() + sType.size();
            for (int i = 0; i < iGroups; ++i)
                sGroup = parse_header_value(sGroup, iValues[i]);
            continue;
        }
        WORD_FILE_READER::split_words(sLine,
                                      [&](const std::string& sWord)
                                      {
                                          if (!store_word(sType, sWord, iValues))
                                              reader.report_unknown_section(sType);
                                      });
    }
    return reader.finish();
}

bool WORD_DATABASE::store_word(const std::string& sType, const std::string& sWord,
                               const int* iValues)
{
    for (const WORD_LIST& entry : WORD_LISTS)
    {
        if (sType == entry.sSection)
        {
            (this->*entry.pList).push_back(new std::string(sWord));
            return true;
        }
    }
    if (sType == "[places]")
        l_Places.push_back(new WORD(iValues[0], iValues[1], iValues[2], iValues[3], sWord));
    else if (sType == "[dungeons]")
        l_Dungeons.push_back(new WORD(25000, 0, iValues[0], iValues[1], sWord));
    else if (sType == "[settlements]")
        l_Settlements.push_back(new WORD(iValues[0], iValues[1], 0, 0, sWord));
    else
        return false;
    return true;
}

std::string WORD_DATABASE::check_lists(const char* sPath) const
{
    // Every draw takes a random entry of its list, so none of them may stay empty.
    std::string sMissing;
    for (const WORD_LIST& entry : WORD_LISTS)
        if ((this->*entry.pList).empty())
            sMissing += std::string(sMissing.empty() ? "" : ", ") + entry.sSection;
    if (!sMissing.empty())
        return std::string("ERROR:  ") + sPath + " holds no words in " + sMissing +
               ".  Every word list needs at least one word.\n";
    if (l_Settlements.empty())
        return std::string("ERROR:  No settlement kinds:  ") + sPath + " has no words in [settlements] and " +
               sDb_file + " has no rows with flag 2.\n";
    return "";
}

std::string* WORD_DATABASE::random_word(int iCategory, bool bCapitalise)
{
    return random_word_for_node(iCategory, nullptr, bCapitalise);
}

std::string* WORD_DATABASE::random_word_for_node(int iCategory, NODE* node, bool bCapitalise)
{
    std::string* sWord = nullptr;
    if (iCategory == WORDS_PLACE || iCategory == WORDS_DUNGEON)
        sWord = query_place_word(iCategory, node);
    else if (std::list<std::string*>* l_List = category_list(iCategory))
        sWord = pick_random(*l_List);
    if (sWord && bCapitalise)
        capitalise(sWord);
    return sWord;
}

std::string* WORD_DATABASE::query_place_word(int iCategory, NODE* node)
{
    if (!node)
    {
        allegro_message("goto pull_from_list...we've got a null");
        return nullptr;
    }
    return query_place_word(iCategory, node->get_height(), node->get_temperature(),
                            node->edge_count(), node->get_rank());
}

std::string WORD_DATABASE::place_query_text(int iCategory, int iHeight, int iTemperature,
                                            int iConnections, int iRank)
{
    const std::string sFlag = iCategory == WORDS_DUNGEON ? "DUNGEON" : "PLACE";
    const std::string H = std::to_string(iHeight);
    const std::string T = std::to_string(iTemperature);
    const std::string E = std::to_string(iConnections);
    const std::string R = std::to_string(iRank);
    const int iStage_base = 3;
    return "SELECT location FROM places WHERE " + H + " > min AND " + H + " < max " +
           " AND (temperature = 0 OR (temperature = 1 AND " + T +
           " < 40) OR (temperature = 2 AND " + T + " >= 40 AND " + T +
           " <= 95) OR (temperature = 3 AND " + T +
           " > 95)) AND (connection = 0 OR (connection = 1 AND " + E +
           " <= 4) OR (connection = 2 AND " + E + " > 4) OR (connection = 3 AND " + E +
           " <= 2)) AND (stage = 0 OR (stage = 1 AND " + R + " >= " +
           std::to_string(iStage_base) + ") OR (stage = 2 AND " + R + " >= " +
           std::to_string(iStage_base * 2) + ")) AND ((flag = 0 AND '" + sFlag +
           "' = 'PLACE') OR (flag = 1 AND '" + sFlag + "' = 'DUNGEON'))";
}

std::string* WORD_DATABASE::query_place_word(int iCategory, int iHeight, int iTemperature,
                                             int iConnections, int iRank)
{
    const std::string sQuery =
        place_query_text(iCategory, iHeight, iTemperature, iConnections, iRank);
    l_Words.clear();
    char* zErrMsg = nullptr;
    if (sqlite3_exec(dbWords, sQuery.c_str(), collect_place_row, nullptr, &zErrMsg) != SQLITE_OK)
        report_sql_error(dbWords, zErrMsg);

    if (l_Words.empty())
    {
        // Once per list: every node of that height band would show it again.
        if (set_Exhausted_shown.insert(iCategory).second)
        {
            const bool bDungeon = iCategory == WORDS_DUNGEON;
            allegro_message("ERROR:  %s has no %s word (flag %d) for some nodes, which get none.  "
                            "Keep a word without rules in every height band.\n",
                            sDb_file.c_str(), bDungeon ? "dungeon" : "place", bDungeon ? 1 : 0);
        }
        return nullptr;
    }
    int k = random_next() % static_cast<int>(l_Words.size());
    auto it = l_Words.begin();
    std::advance(it, k);
    return &*it;
}

int WORD_DATABASE::collect_place_row(void*, int iColumns, char** sValues, char**)
{
    l_Words.push_back(column_text(iColumns, sValues, 0));
    return 0;
}

std::string* WORD_DATABASE::pick_random(const std::list<std::string*>& l_List)
{
    int k = random_next() % static_cast<int>(l_List.size());
    return nth_word(l_List, k);
}

std::string* WORD_DATABASE::nth_word(const std::list<std::string*>& l_List, int n)
{
    if (n < 0 || n >= static_cast<int>(l_List.size()))
        return nullptr;
    auto it = l_List.begin();
    std::advance(it, n);
    return *it;
}

std::string* WORD_DATABASE::find_word(const std::list<std::string*>& l_List,
                                      const std::string* sWord)
{
    for (std::string* sEntry : l_List)
        if (*sEntry == *sWord)
            return sEntry;
    return nullptr;
}

std::string* WORD_DATABASE::capitalise(std::string* sWord)
{
    capitalise_text(*sWord);
    return sWord;
}

WORD* WORD_DATABASE::random_settlement(const std::list<WORD*>& l_List)
{
    int k = random_next() % static_cast<int>(l_List.size());
    auto it = l_List.begin();
    std::advance(it, k);
    return *it;
}

bool WORD_DATABASE::reserve_qualifier(std::string* sQualifier)
{
    if (find_word(l_Used_qualifiers, sQualifier))
        return true;
    l_Used_qualifiers.push_back(sQualifier);
    return false;
}

void WORD_DATABASE::forget(const std::string* sWord)
{
    l_Used_qualifiers.remove(const_cast<std::string*>(sWord));
    l_Used_names.remove(const_cast<std::string*>(sWord));
}

void WORD_DATABASE::reset_used()
{
    l_Used_qualifiers.clear();
    l_Used_names.clear();
    for (std::string* s : l_Made_qualifiers)
        delete s;
    l_Made_qualifiers.clear();
    set_Exhausted_shown.clear();
    m_Free_word.clear();
}

void WORD_DATABASE::keep_qualifier(std::string* sQualifier)
{
    l_Used_qualifiers.push_back(sQualifier);
    l_Made_qualifiers.push_back(sQualifier);
}

std::list<std::string*>* WORD_DATABASE::category_list(int iCategory)
{
    const WORD_LIST* entry = find_list(iCategory);
    return entry ? &(this->*entry->pList) : nullptr;
}

bool WORD_DATABASE::settle_exhausted(int iCategory, std::string& sName)
{
    if (!list_taken(iCategory))
        return false;
    sName = numbered(iCategory, sName);
    return true;
}

std::unordered_set<std::string_view> WORD_DATABASE::used_qualifier_texts() const
{
    std::unordered_set<std::string_view> set_Used;
    for (const std::string* s : l_Used_qualifiers)
        set_Used.insert(*s);
    return set_Used;
}

std::set<std::string> WORD_DATABASE::capitalised_words(int iCategory) const
{
    std::set<std::string> set_Words;
    if (const WORD_LIST* entry = find_list(iCategory))
        for (const std::string* sWord : this->*entry->pList)
            set_Words.insert(capitalised(*sWord));
    return set_Words;
}

bool WORD_DATABASE::list_taken(int iCategory)
{
    const WORD_LIST* entry = find_list(iCategory);
    if (!entry)
        return false;
    const std::list<std::string*>& l_List = this->*entry->pList;
    // Most checks find the word that was free last time still free: one pass over the record.
    size_t& iFree = m_Free_word[iCategory];
    if (iFree < l_List.size())
    {
        const std::string sWord = capitalised(**std::next(l_List.begin(), (long)iFree));
        if (!find_word(l_Used_qualifiers, &sWord))
            return false;
    }
    const std::unordered_set<std::string_view> set_Used = used_qualifier_texts();
    size_t i = 0;
    for (const std::string* sWord : l_List)
    {
        if (!set_Used.count(capitalised(*sWord)))
        {
            iFree = i;
            return false;
        }
        ++i;
    }
    return true;
}

std::string WORD_DATABASE::numbered(int iCategory, const std::string& sBase)
{
    const WORD_LIST* entry = find_list(iCategory);
    if (entry && set_Exhausted_shown.insert(iCategory).second)
        allegro_message("ERROR:  Every word of %s in %s is taken.  Further names from it end in "
                        "a number; add words to that list.\n",
                        entry->sSection, sWord_file.c_str());
    const std::unordered_set<std::string_view> set_Used = used_qualifier_texts();
    for (int n = 2;; ++n)
    {
        std::string sName = sBase + " " + std::to_string(n);
        if (!set_Used.count(sName))
            return sName;
    }
}

void WORD_DATABASE::dump_adjectives(BITMAP* target)
{
    int i = 0;
    for (std::string* sWord : l_Adjectives)
        textprintf_ex(target, font, 10, 10 * i++, WHITE, -1, "%s", sWord->c_str());
}

std::string WORD_DATABASE::image_query_text(const std::string& sWord)
{
    return "SELECT DISTINCT image FROM places WHERE location=" + sql_quote(sWord);
}

int WORD_DATABASE::store_image_row(void*, int iColumns, char** sValues, char**)
{
    iLast_image = atoi(column_text(iColumns, sValues, 0));
    return 0;
}

int WORD_DATABASE::query_image(const std::string& sWord)
{
    char* zErrMsg = nullptr;
    if (sqlite3_exec(dbWords, image_query_text(sWord).c_str(), store_image_row, nullptr,
                     &zErrMsg) != SQLITE_OK)
        report_sql_error(dbWords, zErrMsg);
    return iLast_image;
}
