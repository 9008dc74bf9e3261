#pragma once

#include <string>

// One record of a places, dungeons or settlements section, or a settlement row of words.db.
// For a settlement kind iMin and iMax are its population range.
struct WORD
{
    WORD(int min, int max, int connections, int stage, const std::string& word)
        : iMin(min), iMax(max), iConnections(connections), iStage(stage),
          sWord(new std::string(word))
    {
    }
    WORD(const WORD&) = delete;
    WORD& operator=(const WORD&) = delete;
    ~WORD() { delete sWord; }

    int iMin;
    int iMax;
    int iConnections;
    int iStage;
    std::string* sWord;
};
