#pragma once

// The most nodes a map may have: node_count is kept within 0 to this.
constexpr int MAX_NODE_COUNT = 999;

// The settings record, filled once at start-up from config.ini in the working directory.
class CONFIG
{
public:
    CONFIG();
    ~CONFIG();

    void reset();
    void load();
    void save();
    void release();

    static int compare_nocase(const char* a, const char* b);

    int iCard;
    int sfx;
    int music;
    int pan;
    int mspeed;
    int iScreen_w;
    int iScreen_h;
    int iColour_depth;
    int clock_speed;
    int framerate;
    int node_count;
    char level[16];

private:
    void read_system();
    void read_graphics();
    void read_audio();
    void read_time();
    void read_map_generation();
};
