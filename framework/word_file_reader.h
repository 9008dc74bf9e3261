#pragma once

#include <fstream>
#include <functional>
#include <string>

// A text file of sectioned word lists (the game's words.dat and calendars.dat share its
// grammar): one line at a time (empty ones skipped, a carriage return before the line feed
// dropped), a line starting with "[" is a header, any other line a list of words each ended
// by a comma whose next character is skipped, or by the end of the line.
class WORD_FILE_READER
{
public:
    // A file that cannot be opened reads as no lines; problem_message then says so.
    explicit WORD_FILE_READER(const char* sPath);

    // The next non-empty line; false at the end of the file, and at a line that is not UTF-8
    // text (Allegro's text routines may loop forever on it), which bad_text_message then names.
    // Lines of any length are read whole.
    bool next_line(std::string& sLine);

    // Why the file could not be read whole: "unable to open <file> for input." or
    // "ERROR:  <file> line <n> is not UTF-8 text.\n"; empty while every line read was good.
    // Either ends the game, so the caller shows it alone.
    std::string problem_message() const;

    // At the first word dropped under no header, and at the first word of the first unknown
    // section, shows that its words are dropped, with the file and the line; further unknown
    // sections are only counted, so that a garbled file shows a few boxes, not one a section.
    void report_unknown_section(const std::string& sSection);

    // The end of reading: when the file was read whole, one message tells how many further
    // unknown sections were dropped (if any). Returns problem_message().
    std::string finish();

    // Calls store for every word of a word line, in order. A comma as the very last
    // character ends the last word and nothing follows it.
    static void split_words(const std::string& sLine,
                            const std::function<void(const std::string&)>& store);

    // Same rule as atoi: leading blanks and a sign, digits up to the first non-digit,
    // anything else 0. Never reads past the end of the text.
    static int read_int(const std::string& sText);

private:
    std::string sPath;
    std::ifstream fs_Read;
    int iLine = 0;
    int iBad_line = 0;
    int iHeader_line = 0;   // 0 before the first header
    int iReported_line = -1; // the header whose section was reported or counted last
    bool bUnknown_shown = false;
    int iMore_unknown = 0;    // unknown sections after the one shown
};
