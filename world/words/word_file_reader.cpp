#include "world/words/word_file_reader.h"

#include <allegro.h>

#include <cctype>
#include <climits>

WORD_FILE_READER::WORD_FILE_READER(const char* sPath)
{
    fs_Read.open(sPath, std::ios::in);
    if (!fs_Read.is_open())
        allegro_message("unable to open %s for input.", sPath);
}

bool WORD_FILE_READER::next_line(std::string& sLine)
{
    while (fs_Read.is_open() && std::getline(fs_Read, sLine))
    {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        if (!sLine.empty())
            return true;
    }
    return false;
}

void WORD_FILE_READER::split_words(const std::string& sLine,
                                   const std::function<void(const std::string&)>& store)
{
    std::string sWord;
    const size_t iLength = sLine.size();
    for (size_t i = 0; i < iLength; ++i)
    {
        if (sLine[i] == ',')
        {
            store(sWord);
            sWord.clear();
            if (i + 1 == iLength)
                return; // a bare comma at the end: nothing follows it
            ++i;        // the separator's second character, whatever it is
        }
        else
        {
            sWord += sLine[i];
        }
    }
    store(sWord);
}

int WORD_FILE_READER::read_int(const std::string& sText)
{
    size_t i = 0;
    while (i < sText.size() && std::isspace(static_cast<unsigned char>(sText[i])))
        ++i;
    bool bNegative = false;
    if (i < sText.size() && (sText[i] == '+' || sText[i] == '-'))
    {
        bNegative = sText[i] == '-';
        ++i;
    }
    long long iValue = 0;
    while (i < sText.size() && std::isdigit(static_cast<unsigned char>(sText[i])))
    {
        // Saturate instead of overflowing on absurdly long digit runs.
        if (iValue <= static_cast<long long>(INT_MAX) + 1)
            iValue = iValue * 10 + (sText[i] - '0');
        ++i;
    }
    if (bNegative)
        iValue = -iValue;
    if (iValue > INT_MAX)
        iValue = INT_MAX;
    if (iValue < INT_MIN)
        iValue = INT_MIN;
    return static_cast<int>(iValue);
}

void WORD_FILE_READER::report_unknown_section(const std::string& sSection)
{
    allegro_message("ERROR:  Section in word database not found:  %s", sSection.c_str());
}
