#pragma once

#include <allegro.h>
#include <sqlite3.h>

#include <list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>

#include "framework/run_files.h"
#include "world/words/word.h"

class NODE;

// The categories of random_word and random_word_for_node.
constexpr int WORDS_ADJECTIVE = 1;
constexpr int WORDS_PLACE = 2;
constexpr int WORDS_NAME = 4;
constexpr int WORDS_TITLE = 5;
constexpr int WORDS_ADVERB = 6;
constexpr int WORDS_LOCATION = 7;
constexpr int WORDS_REGION = 8;
constexpr int WORDS_MONSTER = 9;
constexpr int WORDS_DUNGEON = 10;

// The last image number the icon query returned; a query without rows leaves it alone.
extern int iLast_image;

// The store every name is drawn from: the word lists of words.dat, the settlement kinds
// and the words.db connection. A word handed out is the stored string itself: callers
// never free it, and capitalising it changes it for every later draw.
class WORD_DATABASE
{
public:
    static WORD_DATABASE* instance();
    // The one word database once instance() has built it, else null; never builds it.
    static WORD_DATABASE* existing();

    // Opens the words database read only and reads its settlement rows; a database that
    // cannot be opened, or read with the columns the queries name, ends the process with
    // code 1 and one message naming the file.
    explicit WORD_DATABASE(const char* sDb_path = WORDS_DB_PATH);
    WORD_DATABASE(const WORD_DATABASE&) = delete;
    WORD_DATABASE& operator=(const WORD_DATABASE&) = delete;
    ~WORD_DATABASE();

    // Reads the word file. A line that is not UTF-8 text, and a word list or the settlement
    // kinds still empty afterwards, are shown and end the process with code 1.
    void load(const char* sPath);
    // The two halves of load, which say what is wrong instead of ending the process: the
    // message for a line that is not UTF-8 text (reading stops there), and the message for
    // lists left empty; each empty when all is well.
    std::string read_file(const char* sPath);
    std::string check_lists(const char* sPath) const;

    std::string* random_word(int iCategory, bool bCapitalise);
    std::string* random_word_for_node(int iCategory, NODE* node, bool bCapitalise);
    std::string* query_place_word(int iCategory, NODE* node);
    // The same query for a height, temperature, edge count and rank.
    std::string* query_place_word(int iCategory, int iHeight, int iTemperature,
                                  int iConnections, int iRank);
    static std::string place_query_text(int iCategory, int iHeight, int iTemperature,
                                        int iConnections, int iRank);

    // These read the list in place: the naming draws thousands of times.
    std::string* pick_random(const std::list<std::string*>& l_List);
    std::string* nth_word(const std::list<std::string*>& l_List, int n);
    std::string* find_word(const std::list<std::string*>& l_List, const std::string* sWord);
    std::string* capitalise(std::string* sWord);
    WORD* random_settlement(const std::list<WORD*>& l_List);
    bool reserve_qualifier(std::string* sQualifier);
    // Takes the string out of both records of used words: its owner is about to free it.
    void forget(const std::string* sWord);
    // Empties both records of used words and frees the qualifiers the naming made: a fresh
    // start for a new map. The word-exhaustion messages may show again.
    void reset_used();

    // The word list of a list category (1, 4 to 9), else null.
    std::list<std::string*>* category_list(int iCategory);
    // For the loops that redraw until a word is unused, after each rejected draw. While some
    // word of the category's list, capitalised, is missing from l_Used_qualifiers, returns
    // false: draw again. Once none is, sName becomes numbered(iCategory, sName) and the
    // result is true: take sName, draw no more.
    bool settle_exhausted(int iCategory, std::string& sName);
    // Whether every word of the category's list, capitalised as the draws leave it, is in
    // l_Used_qualifiers.
    bool list_taken(int iCategory);
    // sBase with the first numeric suffix l_Used_qualifiers lacks ("Harrow 2", "Harrow 3",
    // ...); shows, once per list, that its words are all taken.
    std::string numbered(int iCategory, const std::string& sBase);
    void dump_adjectives(BITMAP* target);

    // Naming, in node_naming.cpp. Every choice draws in the order listed there.
    // The node's full name, unique among the names given: a new string for the node.
    std::string* name_node(NODE* node);
    // The word of the settlement kind the node became (owned here), or null.
    std::string* make_settlement(NODE* node);
    // A new string: a place, dungeon or settlement word with what goes before it; sets the
    // node's settlement or dungeon flag and its kind on the way.
    std::string* place_part(NODE* node);
    // A new string not yet in l_Used_qualifiers, now recorded there; the word database keeps
    // it until reset_used. Its location word goes onto the node's label. Once no owner part
    // it could make is free, a numbered location word.
    std::string* owner_part(NODE* node);
    // Whether every text owner_part could make is in l_Used_qualifiers: only location words
    // for a settlement, every form for any other node.
    bool owner_parts_taken(bool bSettlement);
    // A new string: a personal name, half of the time with a title before it.
    std::string* person_name(NODE* node);
    // The word's kind and icon for the node; no word (null): no query, kind "", last icon.
    void set_node_image(NODE* node, const std::string* sWord);

    // The icon query: the image number of a word's row (the last row wins), or the previous
    // number when there is none. The word is quoted, so an apostrophe is harmless.
    static std::string image_query_text(const std::string& sWord);
    int query_image(const std::string& sWord);
    static int store_image_row(void* pContext, int iColumns, char** sValues, char** sNames);

    std::list<std::string*> l_Adjectives;
    std::list<WORD*> l_Places;
    std::list<std::string*> l_Names;
    std::list<std::string*> l_Titles;
    std::list<std::string*> l_Adverbs;
    std::list<std::string*> l_Locations;
    std::list<std::string*> l_Regions;
    std::list<WORD*> l_Dungeons;
    std::list<std::string*> l_Monsters;
    sqlite3* dbWords;
    std::list<std::string*> l_Used_qualifiers;
    std::list<std::string*> l_Used_names;

    // The settlement kinds: the words.db rows (ascending min), then the word file's.
    static std::list<WORD*> l_Settlements;
    // Candidates of the last place query; a place word handed out lives in here until the
    // next query.
    static std::list<std::string> l_Words;

private:
    void open_database(const char* sDb_path);
    static const char* parse_header_value(const char* sText, int& iValue);
    static int load_settlement_row(void* pContext, int iColumns, char** sValues, char** sNames);
    static int collect_place_row(void* pContext, int iColumns, char** sValues, char** sNames);
    // False for a word of no known section: it is dropped.
    bool store_word(const std::string& sType, const std::string& sWord, const int* iValues);
    // Records a qualifier the naming made as used and keeps it until reset_used.
    void keep_qualifier(std::string* sQualifier);

    // The texts of l_Used_qualifiers as they read now.
    std::unordered_set<std::string_view> used_qualifier_texts() const;
    // The distinct words of a list category, capitalised as the draws leave them.
    std::set<std::string> capitalised_words(int iCategory) const;

    std::string sWord_file = WORDS_FILE_PATH;
    std::string sDb_file;
    std::list<std::string*> l_Made_qualifiers; // owned
    std::set<int> set_Exhausted_shown; // categories whose exhaustion was shown, the place
                                       // and dungeon queries' misses too
    std::map<int, size_t> m_Free_word; // by category: where list_taken last found a free word
};
