#pragma once

#include <fstream>
#include <functional>
#include <string>

// The line grammar shared by words.dat and calendars.dat: one line at a time (empty ones
// skipped, a carriage return before the line feed dropped), a line starting with "[" is a
// header, any other line a list of words each ended by a comma whose next character is
// skipped, or by the end of the line.
class WORD_FILE_READER
{
public:
    // Shows "unable to open %s for input." when the file cannot be opened.
    explicit WORD_FILE_READER(const char* sPath);

    // The next non-empty line; false at the end of the file. Lines of any length are read
    // whole.
    bool next_line(std::string& sLine);

    // Calls store for every word of a word line, in order. A comma as the very last
    // character ends the last word and nothing follows it.
    static void split_words(const std::string& sLine,
                            const std::function<void(const std::string&)>& store);

    // Same rule as atoi: leading blanks and a sign, digits up to the first non-digit,
    // anything else 0. Never reads past the end of the text.
    static int read_int(const std::string& sText);

    // "ERROR:  Section in word database not found:  %s"
    static void report_unknown_section(const std::string& sSection);

private:
    std::ifstream fs_Read;
};
