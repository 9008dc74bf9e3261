#include "framework/config.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/helpers.h"
#include "framework/run_files.h"

namespace
{
// Allegro's line reader grows its line buffer (256 bytes at first, then doubled) only once
// fewer than two bytes are left in it, so a character of several bytes, or the closing zero
// after one, can be written past its end. The offset of the first line it would overrun, or
// npos. The text is well-formed UTF-8 already.
size_t overrun_offset(const std::string& sText)
{
    size_t iLine_start = 0;
    size_t iSize = 256;
    size_t iOut = 0;
    for (size_t i = 0; i < sText.size();)
    {
        const unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c == '\r' || c == '\n')
        {
            if (iOut + 1 > iSize)
                return iLine_start;
            iOut = 0;
            iSize = 256;
            iLine_start = ++i;
            continue;
        }
        const size_t iWidth = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (iOut >= iSize - 1)
            iSize *= 2;
        if (iOut + iWidth > iSize)
            return iLine_start;
        iOut += iWidth;
        i += iWidth;
    }
    return iOut + 1 > iSize ? iLine_start : std::string::npos;
}

// What keeps config.ini from Allegro: a file that cannot be read (a directory, say), and text
// its reader cannot take (it loops forever on some malformed UTF-8 and overruns its buffer on
// some long lines). The message saying so, or empty when the file is fine or missing.
std::string unreadable_message()
{
    const std::string sStart = std::string("ERROR:  ") + CONFIG_PATH;
    const std::string sEnd = ".  Using the defaults.\n";
    std::string sText;
    const int iError = read_file(CONFIG_PATH, sText);
    if (iError == ENOENT)
        return "";
    if (iError != 0)
        return sStart + " cannot be read: " + std::strerror(iError) + sEnd;
    const char* sReason = nullptr;
    size_t iBad = utf8_error_offset(sText);
    if (iBad != std::string::npos)
        sReason = "is not UTF-8 text";
    else if ((iBad = overrun_offset(sText)) != std::string::npos)
        sReason = "is too long for Allegro's settings reader";
    if (sReason == nullptr)
        return "";
    return sStart + " line " + std::to_string(line_of_offset(sText, iBad)) + " " + sReason + sEnd;
}

int clamp_int(int iValue, int iMax)
{
    if (iValue < 0)
        iValue = 0;
    if (iValue > iMax)
        iValue = iMax;
    return iValue;
}
}

CONFIG::CONFIG()
{
    reset();
}

CONFIG::~CONFIG()
{
    release();
}

void CONFIG::reset()
{
    iCard = 2;
    sfx = 0;
    music = 0;
    pan = 0;
    mspeed = 0;
    framerate = 0;
    clock_speed = 0;
    node_count = 0;
    level[0] = '\0';
}

void CONFIG::release()
{
}

void CONFIG::load()
{
    push_config_state();
    const std::string sUnreadable = unreadable_message();
    if (sUnreadable.empty())
        set_config_file(CONFIG_PATH);
    else
    {
        allegro_message("%s", sUnreadable.c_str());
        // No settings at all: every key takes its default, as for a missing file.
        set_config_data("", 0);
    }
    read_system();
    read_map_generation();
    pop_config_state();
}

void CONFIG::save()
{
    // A file Allegro cannot read is left as it is.
    if (!unreadable_message().empty())
        return;
    push_config_state();
    set_config_file(CONFIG_PATH);
    set_config_string("graphics", "windowed", iCard == 1 ? "FALSE" : "TRUE");
    set_config_string("graphics", "level", level);
    pop_config_state();
}

void CONFIG::read_system()
{
    read_graphics();
    read_audio();
    read_time();
}

void CONFIG::read_graphics()
{
    iCard = compare_nocase(get_config_string("graphics", "windowed", "FALSE"), "FALSE") == 0 ? 1 : 2;

    int iCount = 0;
    char** argv = get_config_argv("graphics", "mode", &iCount);
    if (iCount == 3)
    {
        iScreen_w = std::atoi(argv[0]);
        iScreen_h = std::atoi(argv[1]);
        iColour_depth = std::atoi(argv[2]);
    }
    else
    {
        allegro_message("ERROR:  Incorrect amount of arguments in graphics.mode in %s", CONFIG_PATH);
        iScreen_w = 640;
        iScreen_h = 480;
        iColour_depth = 32;
    }

    // A longer value is cut to what the field holds.
    std::strncpy(level, get_config_string("graphics", "level", "LOW"), sizeof(level) - 1);
    level[sizeof(level) - 1] = '\0';
}

void CONFIG::read_audio()
{
    sfx = clamp_int(get_config_int("audio", "sfx", 0), 255);
    music = clamp_int(get_config_int("audio", "music", 0), 255);
    pan = clamp_int(get_config_int("audio", "pan", 0), 255);
    mspeed = clamp_int(get_config_int("audio", "mspeed", 0), 2000);
}

void CONFIG::read_time()
{
    framerate = get_config_int("time", "framerate", 0);
    clock_speed = get_config_int("time", "clock_speed", 60);
    if (clock_speed < 5)
        clock_speed = 5;
    if (clock_speed > 1000)
        clock_speed = 1000;
}

void CONFIG::read_map_generation()
{
    node_count = clamp_int(get_config_int("map_generation", "node_count", 0), MAX_NODE_COUNT);
}

int CONFIG::compare_nocase(const char* a, const char* b)
{
    while (*a != '\0' && *b != '\0')
    {
        signed char cDiff = (signed char)(utolower((unsigned char)*a) - utolower((unsigned char)*b));
        if (cDiff != 0)
            return cDiff;
        ++a;
        ++b;
    }
    if (*a != '\0')
        return 1;
    if (*b != '\0')
        return -1;
    return 0;
}
