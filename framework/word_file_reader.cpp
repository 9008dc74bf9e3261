#include "framework/word_file_reader.h"

#include <allegro.h>

#include <cctype>
#include <climits>

#include "framework/helpers.h"

namespace
{
// Longest section name a message shows.
constexpr size_t SHOWN_NAME = 100;
}

WORD_FILE_READER::WORD_FILE_READER(const char* sPath) : sPath(sPath)
{
    fs_Read.open(sPath, std::ios::in);
}

bool WORD_FILE_READER::next_line(std::string& sLine)
{
    while (iBad_line == 0 && fs_Read.is_open() && std::getline(fs_Read, sLine))
    {
        ++iLine;
        if (utf8_error_offset(sLine) != std::string::npos)
        {
            iBad_line = iLine;
            return false;
        }
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        if (sLine.empty())
            continue;
        if (sLine[0] == '[')
            iHeader_line = iLine;
        return true;
    }
    return false;
}

std::string WORD_FILE_READER::problem_message() const
{
    if (!fs_Read.is_open())
        return "unable to open " + sPath + " for input.";
    if (iBad_line == 0)
        return "";
    return "ERROR:  " + sPath + " line " + std::to_string(iBad_line) + " is not UTF-8 text.\n";
}

void WORD_FILE_READER::report_unknown_section(const std::string& sSection)
{
    if (iReported_line == iHeader_line)
        return;
    iReported_line = iHeader_line;
    if (iHeader_line == 0)
        allegro_message("ERROR:  %s line %d:  words before the first section header are dropped.\n",
                        sPath.c_str(), iLine);
    else if (bUnknown_shown)
        ++iMore_unknown;
    else
    {
        bUnknown_shown = true;
        allegro_message("ERROR:  %s line %d:  section \"%s\" not found; its words are dropped.\n",
                        sPath.c_str(), iHeader_line, cut_text(sSection, SHOWN_NAME).c_str());
    }
}

std::string WORD_FILE_READER::finish()
{
    const std::string sProblem = problem_message();
    // A file that could not be read whole says only why.
    if (sProblem.empty() && iMore_unknown > 0)
        allegro_message("ERROR:  %s:  %d more %s not found; %s dropped.\n", sPath.c_str(), iMore_unknown,
                        iMore_unknown == 1 ? "section" : "sections",
                        iMore_unknown == 1 ? "its words are" : "their words are");
    return sProblem;
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

