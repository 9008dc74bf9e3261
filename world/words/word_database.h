#pragma once

#include <allegro.h>
#include <sqlite3.h>

#include <list>
#include <string>

#include "world/words/word.h"

class NODE;

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
    // cannot be opened ends the process with code 1.
    explicit WORD_DATABASE(const char* sDb_path = "./data/words.db");
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

    std::string* pick_random(std::list<std::string*> l_List);
    std::string* nth_word(std::list<std::string*> l_List, int n);
    std::string* find_word(std::list<std::string*> l_List, std::string* sWord);
    std::string* capitalise(std::string* sWord);
    WORD* random_settlement(std::list<WORD*> l_List);
    bool reserve_qualifier(std::string* sQualifier);
    // Takes the string out of both records of used words: its owner is about to free it.
    void forget(const std::string* sWord);
    void dump_adjectives(BITMAP* target);

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
};
